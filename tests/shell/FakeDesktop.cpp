#include "tests/shell/FakeDesktop.h"

#include <stdexcept>

namespace tarnwick {
namespace {

// Paths compare as Windows compares them: ASCII case folded, and a folder
// named with or without its trailing backslash.
std::wstring PathKey(std::wstring Path) {
  for (wchar_t& Unit : Path)
    if (Unit >= L'a' && Unit <= L'z') Unit = static_cast<wchar_t>(Unit - L'a' + L'A');
  if (!Path.empty() && Path.back() == L'\\') Path.pop_back();
  return Path;
}

std::wstring ParentKey(const std::wstring& Key) {
  const auto Separator = Key.rfind(L'\\');
  return Separator == std::wstring::npos ? std::wstring() : Key.substr(0, Separator);
}

}  // namespace

MonitorHandle FakeDesktop::AddMonitor(TRect Bounds) {
  const MonitorHandle Handle = 0x1000 + MonitorList.size();
  MonitorList.push_back({Handle, Bounds});
  return Handle;
}

void FakeDesktop::AddFile(const std::wstring& Path) { FFiles.insert(PathKey(Path)); }

void FakeDesktop::AddFolder(const std::wstring& Path) { FFolders.insert(PathKey(Path)); }

std::optional<TPoint> FakeDesktop::CursorPos() {
  if (!CursorQueue.empty()) {
    Cursor = CursorQueue.front();
    CursorQueue.pop_front();
  }
  return Cursor;
}

std::vector<TMonitorInfo> FakeDesktop::Monitors() {
  ++MonitorsCalls;
  return MonitorList;
}

int FakeDesktop::SystemMonitorCount() { return SystemMonitors.value_or(static_cast<int>(MonitorList.size())); }

MonitorHandle FakeDesktop::MonitorFromPoint(TPoint Point) {
  ++MonitorFromPointCalls;
  for (const TMonitorInfo& Monitor : MonitorList) {
    const TRect& B = Monitor.Bounds;
    if (Point.X >= B.Left && Point.X < B.Right && Point.Y >= B.Top && Point.Y < B.Bottom) return Monitor.Handle;
  }
  return 0;
}

bool FakeDesktop::FileExists(const std::wstring& Path) {
  FilesLookedFor.push_back(Path);
  return FFiles.contains(PathKey(Path));
}

bool FakeDesktop::FolderExists(const std::wstring& Path) { return FFolders.contains(PathKey(Path)); }

bool FakeDesktop::CreateFolder(const std::wstring& Path) {
  const std::wstring Key = PathKey(Path);
  if (FFiles.contains(Key) || FFolders.contains(Key) || !FFolders.contains(ParentKey(Key))) return false;
  FFolders.insert(Key);
  CreatedFolders.push_back(Path);
  return true;
}

std::optional<std::wstring> FakeDesktop::SpecialFolder(int Csidl) {
  const auto Found = SpecialFolders.find(Csidl);
  if (Found == SpecialFolders.end()) return std::nullopt;
  return Found->second;
}

unsigned FakeDesktop::SetErrorMode(unsigned Mode) { return std::exchange(ErrorMode, Mode); }

std::optional<std::uint64_t> FakeDesktop::DriveTotalBytes(const std::wstring& RootPath) {
  DriveQueries.push_back({RootPath, ErrorMode});
  if (DriveQueryRaises) throw std::runtime_error("drive query failed");
  if (RootPath.empty()) return std::nullopt;
  const auto Found = ReadyDrives.find(PathKey(RootPath.substr(0, 1)).front());
  if (Found == ReadyDrives.end()) return std::nullopt;
  return Found->second;
}

void FakeDesktop::PlayWaveFile(const std::wstring& Path) {
  PlayedFiles.push_back(Path);
  if (OnPlay) OnPlay();
}

void FakeDesktop::PlayWaveResource(const std::wstring& Name) {
  PlayedResources.push_back(Name);
  if (OnPlay) OnPlay();
}

void FakeDesktop::ShowErrorReport(const std::wstring& Text, const std::wstring& Caption) {
  ErrorReports.push_back({Text, Caption});
}

WindowHandle FakeDesktop::ForegroundWindow() { return Foreground; }

ThreadId FakeDesktop::WindowThread(WindowHandle Window) {
  const auto Found = WindowThreads.find(Window);
  return Found == WindowThreads.end() ? 0 : Found->second;
}

bool FakeDesktop::AttachThreadInput(ThreadId Attaching, ThreadId AttachedTo, bool Attach) {
  // As on Windows, a thread cannot be joined to itself or to no thread.
  if (AttachRefused || !Attaching || !AttachedTo || Attaching == AttachedTo) return false;
  const std::string Pair = "(" + std::to_string(Attaching) + "," + std::to_string(AttachedTo) + ")";
  ForegroundCalls.push_back((Attach ? "Attach" : "Detach") + Pair);
  if (Attach)
    FAttached.insert({Attaching, AttachedTo});
  else
    FAttached.erase({Attaching, AttachedTo});
  return true;
}

void FakeDesktop::BringWindowToTop(WindowHandle Window) {
  ForegroundCalls.push_back("Top(" + std::to_string(Window) + ")");
}

void FakeDesktop::SetForegroundWindow(WindowHandle Window) {
  ForegroundCalls.push_back("Foreground(" + std::to_string(Window) + ")");
  if (Granted(Window)) Foreground = Window;
}

std::optional<std::uint32_t> FakeDesktop::ForegroundLockTimeout() { return LockTimeout; }

void FakeDesktop::SetForegroundLockTimeout(std::uint32_t Milliseconds) {
  ForegroundCalls.push_back("Timeout(" + std::to_string(Milliseconds) + ")");
  LockTimeout = Milliseconds;
}

TPlatformVersion FakeDesktop::SystemVersion() { return Version; }

bool FakeDesktop::Granted(WindowHandle Window) const {
  switch (Grant) {
    case ForegroundGrant::Always:
      return true;
    case ForegroundGrant::WhenAttached: {
      const auto Own = WindowThreads.find(Window);
      const auto Current = WindowThreads.find(Foreground);
      return Own != WindowThreads.end() && Current != WindowThreads.end() &&
             FAttached.contains({Own->second, Current->second});
    }
    case ForegroundGrant::WhenUnlocked:
      return LockTimeout == 0u;
    case ForegroundGrant::Never:
      return false;
  }
  return false;
}

}  // namespace tarnwick
