#include "framework/Component.h"

#include <algorithm>

namespace tarnwick {

TComponent::TComponent(TComponent* AOwner) : Owner_(AOwner) {
  if (Owner_) Owner_->Components_.push_back(this);
}

TComponent::~TComponent() {
  // Whoever keeps a reference to this component lets go of it first.
  while (!FreeNotifies_.empty()) {
    TComponent* Other = FreeNotifies_.back();
    FreeNotifies_.pop_back();
    Other->Unlink(this);
    Other->Notification(this, opRemove);
  }
  // Newest first, so that nothing outlives what it was built on.
  while (!Components_.empty()) delete Components_.back();
  if (Owner_) std::erase(Owner_->Components_, this);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::ranges::find(FreeNotifies_, AComponent) != FreeNotifies_.end()) return;
  FreeNotifies_.push_back(AComponent);
  AComponent->FreeNotifies_.push_back(this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() {}

void TComponent::LoadComponents() {
  // A copy: an after-loading step may make or free components.
  const std::vector<TComponent*> Owned = Components_;
  for (TComponent* Component : Owned) Component->Loaded();
  Loaded();
}

void TComponent::SetDesigning(bool Value) {
  if (Value)
    State_ |= csDesigning;
  else
    State_ &= ~csDesigning;
}

void TComponent::Unlink(TComponent* AComponent) { std::erase(FreeNotifies_, AComponent); }

}  // namespace tarnwick
