#include "framework/ApplicationEvents.h"

#include <algorithm>

#include "framework/Application.h"

namespace tarnwick {

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  Application().Events_.push_back(this);
}

TApplicationEvents::~TApplicationEvents() { std::erase(Application().Events_, this); }

}  // namespace tarnwick
