#include <windows.h>

#include <mmsystem.h>
#include <shlobj.h>

#include <type_traits>

#include "shell/Desktop.h"
#include "shell/SoundLibrary.h"
#include "base/ScopeGuards.h"

namespace tarnwick {
namespace {

template <typename Handle>
Handle ToHandle(std::uintptr_t Value) {
  return reinterpret_cast<Handle>(Value);
}

template <typename Handle>
std::uintptr_t FromHandle(Handle Value) {
  return reinterpret_cast<std::uintptr_t>(Value);
}

BOOL CALLBACK AddMonitor(HMONITOR Monitor, HDC, LPRECT Bounds, LPARAM List) {
  reinterpret_cast<std::vector<TMonitorInfo>*>(List)->push_back(
      {FromHandle(Monitor), {Bounds->left, Bounds->top, Bounds->right, Bounds->bottom}});
  return TRUE;
}

// The attributes of what Path names; a link is judged by its target, which
// must open.
std::optional<DWORD> TargetAttributes(const std::wstring& Path) {
  const DWORD Attributes = GetFileAttributesW(Path.c_str());
  if (Attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (!(Attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return Attributes;
  const TFileHandle Target(CreateFileW(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (Target.Get() == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION Information{};
  if (!GetFileInformationByHandle(Target.Get(), &Information)) return std::nullopt;
  return Information.dwFileAttributes;
}

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

class TWin32Desktop final : public IDesktop {
 public:
  std::optional<TPoint> CursorPos() override {
    POINT Point{};
    if (!GetCursorPos(&Point)) return std::nullopt;
    return TPoint{Point.x, Point.y};
  }

  std::vector<TMonitorInfo> Monitors() override {
    std::vector<TMonitorInfo> List;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&List));
    return List;
  }

  int SystemMonitorCount() override { return GetSystemMetrics(SM_CMONITORS); }

  MonitorHandle MonitorFromPoint(TPoint Point) override {
    return FromHandle(::MonitorFromPoint(POINT{Point.X, Point.Y}, MONITOR_DEFAULTTONULL));
  }

  bool FileExists(const std::wstring& Path) override {
    const auto Attributes = TargetAttributes(Path);
    return Attributes && !(*Attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::wstring& Path) override {
    const auto Attributes = TargetAttributes(Path);
    return Attributes && (*Attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool CreateFolder(const std::wstring& Path) override { return CreateDirectoryW(Path.c_str(), nullptr); }

  std::optional<std::wstring> SpecialFolder(int Csidl) override {
    wchar_t Buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, Csidl, nullptr, SHGFP_TYPE_CURRENT, Buffer))) return std::nullopt;
    return std::wstring(Buffer, wcsnlen(Buffer, MAX_PATH));
  }

  unsigned SetErrorMode(unsigned Mode) override { return ::SetErrorMode(Mode); }

  std::optional<std::uint64_t> DriveTotalBytes(const std::wstring& RootPath) override {
    ULARGE_INTEGER Total{};
    if (!GetDiskFreeSpaceExW(RootPath.c_str(), nullptr, &Total, nullptr)) return std::nullopt;
    return Total.QuadPart;
  }

  // The functions are found by name; their types, calling convention
  // included, come from the system's own declarations.
  static_assert(std::is_same_v<decltype(&sndPlaySoundW), BOOL(WINAPI*)(LPCWSTR, UINT)>);
  static_assert(std::is_same_v<decltype(&PlaySoundW), BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD)>);

  void PlayWaveFile(const std::wstring& Path) override {
    if (const auto Play = SoundLibraryFunction<decltype(sndPlaySoundW)>("sndPlaySoundW"))
      Play(Path.c_str(), SND_ASYNC | SND_NODEFAULT);
  }

  void PlayWaveResource(const std::wstring& Name) override {
    const auto Play = SoundLibraryFunction<decltype(PlaySoundW)>("PlaySoundW");
    if (!Play) return;
    // A null sound stops what this program plays, so each crossing's sound
    // starts from its beginning.
    Play(nullptr, nullptr, SND_RESOURCE);
    Play(Name.c_str(), GetModuleHandleW(nullptr), SND_RESOURCE | SND_ASYNC);
  }

  void ShowErrorReport(const std::wstring& Text, const std::wstring& Caption) override {
    // Task-modal: every window of the thread waits for the box, whichever
    // of them was active.
    MessageBoxW(nullptr, Text.c_str(), Caption.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  }

  WindowHandle ForegroundWindow() override { return FromHandle(GetForegroundWindow()); }

  ThreadId WindowThread(WindowHandle Window) override {
    return GetWindowThreadProcessId(ToHandle<HWND>(Window), nullptr);
  }

  bool AttachThreadInput(ThreadId Attaching, ThreadId AttachedTo, bool Attach) override {
    return ::AttachThreadInput(Attaching, AttachedTo, Attach);
  }

  void BringWindowToTop(WindowHandle Window) override { ::BringWindowToTop(ToHandle<HWND>(Window)); }

  void SetForegroundWindow(WindowHandle Window) override { ::SetForegroundWindow(ToHandle<HWND>(Window)); }

  std::optional<std::uint32_t> ForegroundLockTimeout() override {
    DWORD Milliseconds = 0;
    if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &Milliseconds, 0)) return std::nullopt;
    return Milliseconds;
  }

  void SetForegroundLockTimeout(std::uint32_t Milliseconds) override {
    // The value travels in place of the pointer; the profile is not written.
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, ToHandle<void*>(Milliseconds), SPIF_SENDCHANGE);
  }

  TPlatformVersion SystemVersion() override {
    // GetVersionExW reports the version the manifest declares support for;
    // the kernel tells the true one.
    const auto RtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW Version{};
    Version.dwOSVersionInfoSize = sizeof Version;
    if (!RtlGetVersion || RtlGetVersion(&Version) != 0) return {};
    return {Version.dwPlatformId, Version.dwMajorVersion, Version.dwMinorVersion};
  }
};

}  // namespace

IDesktop* PlatformDesktop() {
  static TWin32Desktop Instance;
  return &Instance;
}

}  // namespace tarnwick
