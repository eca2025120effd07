// Looks at the running program's windows and sends it messages, for the
// end-to-end tests. Prints one line of answer; exit code 2 on a usage error.
//   e2e_probe main-state        "visible", "hidden" or "none"
//   e2e_probe close-main        posts WM_CLOSE to the settings window
//   e2e_probe splash            "none", or the visible popup of the settings
//                               window's process: "left top right bottom style
//                               exstyle" (hex styles)
//   e2e_probe pointer           "x y", the pointer as the program sees it
//   e2e_probe monitors          "N l,t,r,b ...": the count the system reports
//                               (SM_CMONITORS), then each monitor's rectangle
//                               in enumeration order
//   e2e_probe program-module    the base address (hex) of the exe module of
//                               the settings window's process, or "none"
//   e2e_probe display-change    sends the settings window the WM_DISPLAYCHANGE
//                               that Windows sends after a display change
//                               (Wine 8 sends none for one made with xrandr):
//                               "sent" or "none"
//   e2e_probe copydata CASE     sends the settings window a WM_COPYDATA:
//       null-lparam, null-data, no-nul, lower-case, trailing-text, after-nul,
//       exact (the request a later start sends)
//   e2e_probe hostile-copydata SEED COUNT
//   e2e_probe hostile-drop SEED COUNT
//                               sends the hidden settings window COUNT random
//                               WM_COPYDATA blocks that are no show request,
//                               or WM_DROPFILES with random values and blocks
//                               of this process; after each batch checks that
//                               it answers and stays hidden. "ok", or "FAIL
//                               reason" with exit code 1
//   e2e_probe count-shows FILE  counts how often the settings window turns
//                               visible, polling, until FILE exists: "N"
#include <windows.h>

#include <psapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

HWND MainWindow() { return FindWindowW(L"TMainForm", L"Tarnwick"); }

int MainState() {
  HWND Window = MainWindow();
  std::puts(!Window ? "none" : IsWindowVisible(Window) ? "visible" : "hidden");
  return 0;
}

int CloseMain() {
  HWND Window = MainWindow();
  if (Window) PostMessageW(Window, WM_CLOSE, 0, 0);
  std::puts(Window ? "posted" : "none");
  return 0;
}

struct SplashSearch {
  DWORD ProcessId;
  HWND Found = nullptr;
};

BOOL CALLBACK FindSplash(HWND Window, LPARAM Param) {
  auto& Search = *reinterpret_cast<SplashSearch*>(Param);
  wchar_t ClassName[64] = {};
  GetClassNameW(Window, ClassName, 64);
  DWORD ProcessId = 0;
  GetWindowThreadProcessId(Window, &ProcessId);
  if (Search.ProcessId == 0 || ProcessId != Search.ProcessId || std::wcscmp(ClassName, L"TSplashForm") != 0 || !IsWindowVisible(Window))
    return TRUE;
  Search.Found = Window;
  return FALSE;
}

int Splash() {
  DWORD ProcessId = 0;
  if (HWND Window = MainWindow()) GetWindowThreadProcessId(Window, &ProcessId);
  SplashSearch Search{ProcessId};
  EnumWindows(FindSplash, reinterpret_cast<LPARAM>(&Search));
  if (!Search.Found) {
    std::puts("none");
    return 0;
  }
  RECT Rect;
  GetWindowRect(Search.Found, &Rect);
  std::printf("%ld %ld %ld %ld %lx %lx\n", Rect.left, Rect.top, Rect.right, Rect.bottom,
              static_cast<unsigned long>(GetWindowLongPtrW(Search.Found, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongPtrW(Search.Found, GWL_EXSTYLE)));
  return 0;
}

int Pointer() {
  POINT Point{};
  GetCursorPos(&Point);
  std::printf("%ld %ld\n", Point.x, Point.y);
  return 0;
}

BOOL CALLBACK PrintMonitor(HMONITOR, HDC, LPRECT Bounds, LPARAM) {
  std::printf(" %ld,%ld,%ld,%ld", Bounds->left, Bounds->top, Bounds->right, Bounds->bottom);
  return TRUE;
}

int Monitors() {
  std::printf("%d", GetSystemMetrics(SM_CMONITORS));
  EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
  std::puts("");
  return 0;
}

int ProgramModule() {
  DWORD ProcessId = 0;
  if (HWND Window = MainWindow()) GetWindowThreadProcessId(Window, &ProcessId);
  const HANDLE Process = ProcessId ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ProcessId) : nullptr;
  HMODULE Exe = nullptr;
  DWORD Needed = 0;
  // The exe is the first module listed.
  const bool Found = Process && EnumProcessModules(Process, &Exe, sizeof Exe, &Needed) && Needed > 0;
  if (Process) CloseHandle(Process);
  if (Found) std::printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(Exe)));
  else std::puts("none");
  return 0;
}

int DisplayChange() {
  HWND Window = MainWindow();
  if (Window) {
    const HDC Screen = GetDC(nullptr);
    const int BitsPerPixel = GetDeviceCaps(Screen, BITSPIXEL);
    ReleaseDC(nullptr, Screen);
    SendMessageW(Window, WM_DISPLAYCHANGE, static_cast<WPARAM>(BitsPerPixel),
                 MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  }
  std::puts(Window ? "sent" : "none");
  return 0;
}

// The code units of Text, each as two bytes, as a text block.
std::vector<unsigned char> Block(const std::u16string& Text) {
  std::vector<unsigned char> Bytes(Text.size() * 2);
  std::memcpy(Bytes.data(), Text.data(), Bytes.size());
  return Bytes;
}

int CopyData(const std::string& Case) {
  HWND Window = MainWindow();
  if (!Window) {
    std::puts("none");
    return 0;
  }
  std::vector<unsigned char> Bytes;
  if (Case == "no-nul") Bytes = Block(u"/Show");
  else if (Case == "lower-case") Bytes = Block(std::u16string(u"/show\0", 6));
  else if (Case == "trailing-text") Bytes = Block(std::u16string(u"/Shows\0", 7));
  else if (Case == "after-nul") Bytes = Block(std::u16string(u"/Show\0extra\0", 12));
  else if (Case == "exact") Bytes = Block(std::u16string(u"/Show\0\0", 7));
  else if (Case != "null-lparam" && Case != "null-data") return 2;
  COPYDATASTRUCT Data{0, Case == "null-data" ? 14u : static_cast<DWORD>(Bytes.size()),
                      Bytes.empty() ? nullptr : Bytes.data()};
  SendMessageW(Window, WM_COPYDATA, 0, Case == "null-lparam" ? 0 : reinterpret_cast<LPARAM>(&Data));
  std::puts("sent");
  return 0;
}

// ---------------------------------------------------------------- hostile senders

constexpr UINT ReplyMs = 5000;
constexpr int BatchSize = 250;

using Random = std::mt19937_64;

std::uint64_t Below(Random& Generator, std::uint64_t Limit) {
  return std::uniform_int_distribution<std::uint64_t>(0, Limit - 1)(Generator);
}

// Sends and waits for the answer; false when the window did not answer in
// time. A message the system refuses to carry (a block it cannot copy) is
// no failure of the program.
bool Deliver(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  DWORD_PTR Reply = 0;
  SetLastError(0);
  if (SendMessageTimeoutW(Window, Msg, WParam, LParam, SMTO_ABORTIFHUNG, ReplyMs, &Reply)) return true;
  const DWORD Error = GetLastError();
  std::fprintf(stderr, "message %#x not delivered: error %lu\n", Msg, Error);
  return Error != ERROR_TIMEOUT && IsWindow(Window);
}

// What must hold after each batch; the failure, or empty.
std::string CheckHealthy(HWND Window, int Sent) {
  const std::string After = " after " + std::to_string(Sent) + " messages";
  if (!IsWindow(Window)) return "the settings window is gone" + After;
  if (!Deliver(Window, WM_NULL, 0, 0)) return "the settings window does not answer" + After;
  if (IsWindowVisible(Window)) return "the settings window was shown" + After;
  return "";
}

// Runs Count messages made by SendOne in batches, checking after each.
template <typename SendOne>
int Barrage(const char* What, unsigned long long Seed, int Count, SendOne&& Send) {
  const HWND Window = MainWindow();
  std::fprintf(stderr, "%s seed %llu\n", What, Seed);
  if (!Window || IsWindowVisible(Window)) {
    std::puts("FAIL no hidden settings window");
    return 1;
  }
  Random Generator(Seed);
  for (int Sent = 0; Sent < Count;) {
    for (int InBatch = 0; InBatch < BatchSize && Sent < Count; ++InBatch, ++Sent) {
      if (!Send(Window, Generator)) {
        std::printf("FAIL message %d (seed %llu) had no answer\n", Sent, Seed);
        return 1;
      }
    }
    if (const std::string Failure = CheckHealthy(Window, Sent); !Failure.empty()) {
      std::printf("FAIL %s (seed %llu)\n", Failure.c_str(), Seed);
      return 1;
    }
  }
  std::puts("ok");
  return 0;
}

// Whether Bytes hold "/Show" before their first NUL code unit, as the
// program decides a request.
bool IsRequest(const std::vector<unsigned char>& Bytes) {
  static const std::u16string Request = u"/Show";
  for (std::size_t Unit = 0; Unit * 2 + 1 < Bytes.size(); ++Unit) {
    const char16_t Code = static_cast<char16_t>(Bytes[Unit * 2] | Bytes[Unit * 2 + 1] << 8);
    if (Code == 0) return Unit == Request.size();
    if (Unit >= Request.size() || Code != Request[Unit]) return false;
  }
  return false;
}

std::vector<unsigned char> RandomBytes(Random& Generator, bool WithNuls) {
  const std::uint64_t Limits[] = {64, 4096, 65537};
  std::vector<unsigned char> Bytes(Below(Generator, Limits[Below(Generator, 3)]));
  for (unsigned char& Byte : Bytes)
    Byte = static_cast<unsigned char>(WithNuls ? Below(Generator, 256) : 1 + Below(Generator, 255));
  return Bytes;
}

// "/Show" almost: another case, text before the NUL, a prefix, no NUL, a
// NUL cut in half, narrow characters, a leading space.
std::vector<unsigned char> NearRequest(Random& Generator) {
  std::u16string Text = u"/Show";
  switch (Below(Generator, 6)) {
    case 0: {
      const std::size_t At = 1 + Below(Generator, 4);
      Text[At] ^= 0x20;
      break;
    }
    case 1:
      for (std::uint64_t Extra = 1 + Below(Generator, 40); Extra > 0; --Extra)
        Text += static_cast<char16_t>(1 + Below(Generator, 0xFFFF));
      break;
    case 2:
      Text.resize(Below(Generator, Text.size()));
      break;
    case 3:
      Text = u" " + Text;
      break;
    case 4: {  // narrow
      const char Narrow[] = "/Show";
      return std::vector<unsigned char>(Narrow, Narrow + sizeof Narrow);
    }
    default: {  // the NUL's second byte, or all of it, missing
      std::vector<unsigned char> Bytes = Block(Text + u'\0');
      Bytes.resize(Bytes.size() - 1 - Below(Generator, 2));
      return Bytes;
    }
  }
  std::vector<unsigned char> Bytes = Block(Text + u'\0');
  if (Below(Generator, 2)) Bytes.push_back(static_cast<unsigned char>(Below(Generator, 256)));  // odd length
  return Bytes;
}

bool SendHostileCopyData(HWND Window, Random& Generator) {
  const std::uint64_t Kind = Below(Generator, 6);
  if (Kind == 5) return Deliver(Window, WM_COPYDATA, Generator(), 0);  // no block at all
  std::vector<unsigned char> Bytes;
  do {
    Bytes = Kind < 2 ? RandomBytes(Generator, Kind == 1) : NearRequest(Generator);
  } while (IsRequest(Bytes));
  COPYDATASTRUCT Data{static_cast<ULONG_PTR>(Generator()), static_cast<DWORD>(Bytes.size()),
                      Bytes.empty() ? nullptr : Bytes.data()};
  if (Kind == 3) {  // a size without data
    Data.lpData = nullptr;
    Data.cbData = static_cast<DWORD>(1 + Below(Generator, 65536));
  } else if (Kind == 4) {  // data without a size
    Data.cbData = 0;
  }
  return Deliver(Window, WM_COPYDATA, Generator(), reinterpret_cast<LPARAM>(&Data));
}

// A global block of this process holding a drop, well-formed or not.
HGLOBAL OwnDropBlock(Random& Generator) {
  std::u16string List = u"C:\\no-such-folder\\a.png";
  List += u'\0';
  if (Below(Generator, 2)) List += u'\0';
  std::vector<unsigned char> Bytes(sizeof(DROPFILES));
  DROPFILES Header{};
  Header.pFiles = static_cast<DWORD>(Below(Generator, 4) ? sizeof(DROPFILES) : Generator());
  Header.fWide = static_cast<BOOL>(Below(Generator, 3));
  std::memcpy(Bytes.data(), &Header, sizeof Header);
  const std::vector<unsigned char> Names = Block(List);
  Bytes.insert(Bytes.end(), Names.begin(), Names.end());
  Bytes.resize(Below(Generator, Bytes.size() + 1));
  const HGLOBAL Handle = GlobalAlloc(Below(Generator, 2) ? GHND : GPTR, Bytes.size());
  if (Handle && !Bytes.empty()) {
    std::memcpy(GlobalLock(Handle), Bytes.data(), Bytes.size());
    GlobalUnlock(Handle);
  }
  return Handle;
}

// Values a WM_DROPFILES may carry from another program: nothing, small
// numbers, anything, addresses and handle-like values where the heap lies,
// and blocks that are real here only.
WPARAM HostileDropValue(Random& Generator, std::vector<HGLOBAL>& Blocks) {
  switch (Below(Generator, 6)) {
    case 0:
      return 0;
    case 1:
      return Below(Generator, 0x10000);
    case 2:
      return Generator();
    case 3:
      return (0x100000 + Below(Generator, 0x1000000)) & ~WPARAM(15);
    case 4:
      return ((0x100000 + Below(Generator, 0x1000000)) & ~WPARAM(15)) | 8;
    default:
      Blocks.push_back(OwnDropBlock(Generator));
      return reinterpret_cast<WPARAM>(Blocks.back());
  }
}

int HostileCopyData(unsigned long long Seed, int Count) {
  return Barrage("hostile-copydata", Seed, Count, SendHostileCopyData);
}

int HostileDrop(unsigned long long Seed, int Count) {
  std::vector<HGLOBAL> Blocks;
  const int Result = Barrage("hostile-drop", Seed, Count, [&](HWND Window, Random& Generator) {
    return Deliver(Window, WM_DROPFILES, HostileDropValue(Generator, Blocks), 0);
  });
  for (HGLOBAL Handle : Blocks) GlobalFree(Handle);
  return Result;
}

// ---------------------------------------------------------------- show count

int CountShows(const std::string& StopFile) {
  HWND Window = nullptr;
  int Shows = 0;
  bool Visible = false;
  while (GetFileAttributesA(StopFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (!Window) Window = MainWindow();
    const bool Now = Window && IsWindowVisible(Window);
    if (Now && !Visible) ++Shows;
    Visible = Now;
    Sleep(2);
  }
  std::printf("%d\n", Shows);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string Command = argc > 1 ? argv[1] : "";
  if (Command == "main-state") return MainState();
  if (Command == "close-main") return CloseMain();
  if (Command == "pointer") return Pointer();
  if (Command == "monitors") return Monitors();
  if (Command == "program-module") return ProgramModule();
  if (Command == "display-change") return DisplayChange();
  if (Command == "splash") return Splash();
  if (Command == "copydata" && argc > 2) return CopyData(argv[2]);
  if (Command == "hostile-copydata" && argc > 3) return HostileCopyData(std::stoull(argv[2]), std::stoi(argv[3]));
  if (Command == "hostile-drop" && argc > 3) return HostileDrop(std::stoull(argv[2]), std::stoi(argv[3]));
  if (Command == "count-shows" && argc > 2) return CountShows(argv[2]);
  std::fputs("usage: e2e_probe main-state | close-main | pointer | monitors | program-module | display-change |\n"
             "       splash | copydata CASE | hostile-copydata SEED COUNT | hostile-drop SEED COUNT |\n"
             "       count-shows FILE\n",
             stderr);
  return 2;
}
