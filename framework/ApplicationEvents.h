#pragma once

#include "framework/Component.h"

namespace tarnwick {

// Relays the application's events to a form's handlers while it lives.
class TApplicationEvents : public TComponent {
 public:
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;

  // The application was minimised.
  TNotifyEvent OnMinimize;
};

}  // namespace tarnwick
