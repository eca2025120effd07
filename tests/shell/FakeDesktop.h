#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shell/Desktop.h"

namespace tarnwick {

// A scripted desktop for tests: set up its fields, put it in place with
// TDesktopOverride, run the code, and read back what it asked for and did.
class FakeDesktop : public IDesktop {
 public:
  // Pointer: queued samples are given out first, one per call; then Cursor,
  // every time. A none stands for a sample the system refuses.
  std::deque<std::optional<TPoint>> CursorQueue;
  std::optional<TPoint> Cursor = TPoint{};

  // Monitors in enumeration order; MonitorFromPoint names the first whose
  // bounds hold the point, 0 when none does. SystemMonitorCount reports
  // SystemMonitors when set, else the list's length.
  std::vector<TMonitorInfo> MonitorList;
  std::optional<int> SystemMonitors;
  int MonitorsCalls = 0;
  int MonitorFromPointCalls = 0;
  // Appends a monitor with a fresh handle and returns the handle.
  MonitorHandle AddMonitor(TRect Bounds);

  // Files and folders by full path. Case does not matter, nor one trailing
  // backslash. CreateFolder makes a folder whose parent folder exists and
  // whose name is free.
  void AddFile(const std::wstring& Path);
  void AddFolder(const std::wstring& Path);
  std::vector<std::wstring> CreatedFolders;  // as asked, in order
  std::vector<std::wstring> FilesLookedFor;  // every FileExists path, in order
  // Special folders by CSIDL value; a missing one fails the lookup.
  std::map<int, std::wstring> SpecialFolders;

  unsigned ErrorMode = 0;
  // Drives in use and ready, by upper-case letter, with their total size.
  std::map<wchar_t, std::uint64_t> ReadyDrives;
  struct DriveQuery {
    std::wstring RootPath;
    unsigned ErrorMode = 0;  // the error mode while the query ran
  };
  std::vector<DriveQuery> DriveQueries;
  bool DriveQueryRaises = false;  // a query raises std::runtime_error

  std::vector<std::wstring> PlayedFiles;
  std::vector<std::wstring> PlayedResources;
  // Called as each sound starts, to see what else has happened by then.
  std::function<void()> OnPlay;
  struct ErrorReport {
    std::wstring Text;
    std::wstring Caption;
    friend bool operator==(const ErrorReport&, const ErrorReport&) = default;
  };
  std::vector<ErrorReport> ErrorReports;

  // Foreground: which window has it, each window's thread, and when the
  // system grants SetForegroundWindow.
  enum class ForegroundGrant { Always, WhenAttached, WhenUnlocked, Never };
  WindowHandle Foreground = 0;
  std::map<WindowHandle, ThreadId> WindowThreads;
  ForegroundGrant Grant = ForegroundGrant::Always;
  bool AttachRefused = false;
  std::optional<std::uint32_t> LockTimeout = 200000;  // none: cannot be read
  TPlatformVersion Version{2, 10, 0};
  // The foreground calls that change something, in order, e.g.
  // "Attach(2,1)", "Detach(2,1)", "Top(7)", "Foreground(7)", "Timeout(0)".
  std::vector<std::string> ForegroundCalls;

  std::optional<TPoint> CursorPos() override;
  std::vector<TMonitorInfo> Monitors() override;
  int SystemMonitorCount() override;
  MonitorHandle MonitorFromPoint(TPoint Point) override;
  bool FileExists(const std::wstring& Path) override;
  bool FolderExists(const std::wstring& Path) override;
  bool CreateFolder(const std::wstring& Path) override;
  std::optional<std::wstring> SpecialFolder(int Csidl) override;
  unsigned SetErrorMode(unsigned Mode) override;
  std::optional<std::uint64_t> DriveTotalBytes(const std::wstring& RootPath) override;
  void PlayWaveFile(const std::wstring& Path) override;
  void PlayWaveResource(const std::wstring& Name) override;
  void ShowErrorReport(const std::wstring& Text, const std::wstring& Caption) override;
  WindowHandle ForegroundWindow() override;
  ThreadId WindowThread(WindowHandle Window) override;
  bool AttachThreadInput(ThreadId Attaching, ThreadId AttachedTo, bool Attach) override;
  void BringWindowToTop(WindowHandle Window) override;
  void SetForegroundWindow(WindowHandle Window) override;
  std::optional<std::uint32_t> ForegroundLockTimeout() override;
  void SetForegroundLockTimeout(std::uint32_t Milliseconds) override;
  TPlatformVersion SystemVersion() override;

 private:
  bool Granted(WindowHandle Window) const;

  std::set<std::wstring> FFiles;
  std::set<std::wstring> FFolders;
  std::set<std::pair<ThreadId, ThreadId>> FAttached;
};

}  // namespace tarnwick
