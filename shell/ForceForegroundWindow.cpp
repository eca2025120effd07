#include "shell/ForceForegroundWindow.h"

#include "base/ScopeGuards.h"

namespace tarnwick {
namespace {

constexpr std::uint32_t PlatformWindows = 1;
constexpr std::uint32_t PlatformNT = 2;

void BringToFront(IDesktop& Desk, WindowHandle Window) {
  Desk.BringWindowToTop(Window);
  Desk.SetForegroundWindow(Window);
}

// The system lets a thread whose input state is joined to the foreground
// window's thread take the foreground.
bool BringToFrontAttached(IDesktop& Desk, WindowHandle Window) {
  const ThreadId ForegroundThread = Desk.WindowThread(Desk.ForegroundWindow());
  const ThreadId OwnThread = Desk.WindowThread(Window);
  if (!Desk.AttachThreadInput(OwnThread, ForegroundThread, true)) return false;
  BringToFront(Desk, Window);
  Desk.AttachThreadInput(OwnThread, ForegroundThread, false);
  return Desk.ForegroundWindow() == Window;
}

}  // namespace

bool HasForegroundLock(const TPlatformVersion& Version) {
  if (Version.PlatformId == PlatformNT) return Version.Major > 4;
  if (Version.PlatformId == PlatformWindows) return Version.Major > 4 || (Version.Major == 4 && Version.Minor > 0);
  return false;
}

bool ForceForegroundWindow(WindowHandle Window) {
  IDesktop& Desk = Desktop();
  if (Desk.ForegroundWindow() == Window) return true;
  if (!HasForegroundLock(Desk.SystemVersion())) {
    BringToFront(Desk, Window);
  } else if (!BringToFrontAttached(Desk, Window)) {
    const TForegroundLockLifted Lifted(Desk);
    BringToFront(Desk, Window);
  }
  return Desk.ForegroundWindow() == Window;
}

}  // namespace tarnwick
