#pragma once

#include <cstdint>
#include <vector>

#include "framework/Object.h"

namespace tarnwick {

// What a removal notice reports.
enum TOperation : std::uint8_t { opRemove };

// Flags of a component's state.
enum TComponentStateFlag : unsigned {
  // The component sits in a designer: it stores values and touches no window.
  csDesigning = 1u << 0,
};

// A component belongs to its owner, which frees it; it can ask another
// component to tell it when that one is freed. Components are made with new
// and an owner, or held by whoever made them without one; freeing a
// component takes it out of its owner's list.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  // The owned components in the order they were made.
  const std::vector<TComponent*>& Components() const { return FComponents; }
  unsigned ComponentState() const { return FState; }

  // Links this component and AComponent: when either is freed, the other
  // receives a removal notice (opRemove) for it. Linking twice is one link.
  void FreeNotification(TComponent* AComponent);

 protected:
  // The removal notice; the base does nothing.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // The after-loading step, run once the component's stored properties are
  // set; the base does nothing.
  virtual void Loaded();
  // Runs the after-loading step of every owned component in the order they
  // were made, then this one's own.
  void LoadComponents();
  void SetDesigning(bool Value);

 private:
  void Unlink(TComponent* AComponent);

  TComponent* FOwner;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  unsigned FState = 0;
};

}  // namespace tarnwick
