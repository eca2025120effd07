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

TDesktopOverride::TDesktopOverride(IDesktop& Replacement) : FPrevious(Current) { Current = &Replacement; }

TDesktopOverride::~TDesktopOverride() { Current = FPrevious; }

}  // namespace tarnwick
