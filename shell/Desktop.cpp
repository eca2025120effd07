#include "shell/Desktop.h"

#include <stdexcept>

namespace tarnwick {
namespace {

IDesktop* Current = nullptr;

}  // namespace

IDesktop* PlatformDesktop();

IDesktop& Desktop() {
  if (Current) return *Current;
  if (IDesktop* Platform = PlatformDesktop()) return *Platform;
  throw std::logic_error("no desktop on this platform");
}

DesktopOverride::DesktopOverride(IDesktop& Replacement) : Previous_(Current) { Current = &Replacement; }

DesktopOverride::~DesktopOverride() { Current = Previous_; }

}  // namespace tarnwick
