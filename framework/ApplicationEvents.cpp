#include "framework/ApplicationEvents.h"

#include <algorithm>

#include "framework/Application.h"

namespace tarnwick {

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  Application().FEvents.push_back(this);
}

TApplicationEvents::~TApplicationEvents() { std::erase(Application().FEvents, this); }

}  // namespace tarnwick
