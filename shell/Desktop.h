#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

// A position in virtual-screen pixels; negative left of or above the
// primary monitor.
struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(TPoint, TPoint) = default;
};

struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// Identifies one monitor as the platform names it (an HMONITOR on Windows);
// 0 stands for none.
using MonitorHandle = std::uintptr_t;

struct TMonitorInfo {
  MonitorHandle Handle = 0;
  TRect Bounds;
};

// A top-level window as the platform names it (an HWND on Windows); 0 is none.
using WindowHandle = std::uintptr_t;

// A thread as the platform names it; 0 is none.
using ThreadId = std::uint32_t;

// What the running system says it is: a platform id (2 for the NT family)
// and its major and minor version.
struct TPlatformVersion {
  std::uint32_t PlatformId = 0;
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
};

// The platform operations that the program's parts share. Everything above
// this interface is portable and tested against a scripted fake; the Win32
// implementation is the thin layer that calls the system. Calls come from the
// GUI thread only. No operation raises: failures come back as the empty or
// false results documented on each.
class IDesktop {
 public:
  virtual ~IDesktop() = default;

  // The pointer position, or none when the system cannot give it (a secure
  // desktop, for instance).
  virtual std::optional<TPoint> CursorPos() = 0;

  // The monitors in the platform's enumeration order.
  virtual std::vector<TMonitorInfo> Monitors() = 0;
  // The number of monitors the system reports on its own account.
  virtual int SystemMonitorCount() = 0;
  // The monitor that contains Point; 0 when none does (never the nearest).
  virtual MonitorHandle MonitorFromPoint(TPoint Point) = 0;

  // Whether Path names an existing file (not a folder), or an existing
  // folder; a link counts by its target.
  virtual bool FileExists(const std::wstring& Path) = 0;
  virtual bool FolderExists(const std::wstring& Path) = 0;
  // Makes one folder level; false when the parent is missing or the name taken.
  virtual bool CreateFolder(const std::wstring& Path) = 0;
  // A special folder by its CSIDL value, or none when the lookup fails.
  virtual std::optional<std::wstring> SpecialFolder(int Csidl) = 0;

  // Sets the process's error mode and returns the previous one.
  virtual unsigned SetErrorMode(unsigned Mode) = 0;
  // The total size of the drive whose root is RootPath ("C:\\"), or none
  // when it is not in use or not ready.
  virtual std::optional<std::uint64_t> DriveTotalBytes(const std::wstring& RootPath) = 0;

  // Plays a WAVE file asynchronously, stopping one still playing; a file that
  // cannot be played gives silence, never the system's default sound.
  virtual void PlayWaveFile(const std::wstring& Path) = 0;
  // Stops any sound the program plays, then plays its built-in WAVE
  // resource of that name asynchronously.
  virtual void PlayWaveResource(const std::wstring& Name) = 0;

  // The standard error report: a modal message box with Text, the Caption,
  // the error icon and one OK button.
  virtual void ShowErrorReport(const std::wstring& Text, const std::wstring& Caption) = 0;

  // The window that has the foreground; 0 when none has.
  virtual WindowHandle ForegroundWindow() = 0;
  // The thread that made Window; 0 when Window is not a window.
  virtual ThreadId WindowThread(WindowHandle Window) = 0;
  // Joins (Attach true) or parts the input state of two threads; false when
  // the system refuses.
  virtual bool AttachThreadInput(ThreadId Attaching, ThreadId AttachedTo, bool Attach) = 0;
  // Puts Window at the top of the stacking order; the result is not told.
  virtual void BringWindowToTop(WindowHandle Window) = 0;
  // Asks for Window to become the foreground window; the system may refuse.
  virtual void SetForegroundWindow(WindowHandle Window) = 0;
  // The foreground lock timeout in milliseconds, or none when it cannot be read.
  virtual std::optional<std::uint32_t> ForegroundLockTimeout() = 0;
  // Sets the timeout for the session and broadcasts the change; the user's
  // profile keeps its own value.
  virtual void SetForegroundLockTimeout(std::uint32_t Milliseconds) = 0;
  // The platform id and version of the running system; all 0 when it cannot
  // be told.
  virtual TPlatformVersion SystemVersion() = 0;
};

// The process's desktop: the Win32 one on Windows, unless a test has put
// another in its place. Raises std::logic_error where there is none.
IDesktop& Desktop();

// Puts Replacement in the place of the process's desktop while it lives.
class TDesktopOverride {
 public:
  explicit TDesktopOverride(IDesktop& Replacement);
  ~TDesktopOverride();
  TDesktopOverride(const TDesktopOverride&) = delete;
  TDesktopOverride& operator=(const TDesktopOverride&) = delete;

 private:
  IDesktop* FPrevious;
};

}  // namespace tarnwick
