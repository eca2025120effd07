#include "framework/Component.h"

#include <algorithm>

namespace tarnwick {

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
  if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
  // Whoever keeps a reference to this component lets go of it first.
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Other->Unlink(this);
    Other->Notification(this, opRemove);
  }
  // Newest first, so that nothing outlives what it was built on.
  while (!FComponents.empty()) delete FComponents.back();
  if (FOwner) std::erase(FOwner->FComponents, this);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::ranges::find(FFreeNotifies, AComponent) != FFreeNotifies.end()) return;
  FFreeNotifies.push_back(AComponent);
  AComponent->FFreeNotifies.push_back(this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() {}

void TComponent::LoadComponents() {
  // A copy: an after-loading step may make or free components.
  const std::vector<TComponent*> Owned = FComponents;
  for (TComponent* Component : Owned) Component->Loaded();
  Loaded();
}

void TComponent::SetDesigning(bool Value) {
  if (Value)
    FState |= csDesigning;
  else
    FState &= ~csDesigning;
}

void TComponent::Unlink(TComponent* AComponent) { std::erase(FFreeNotifies, AComponent); }

}  // namespace tarnwick
