// Looks at the running program's windows and sends it messages, for the
// end-to-end tests. Prints one line of answer; exit code 2 on a usage error.
//   e2e_probe main-state        "visible", "hidden" or "none"
//   e2e_probe close-main        posts WM_CLOSE to the settings window
//   e2e_probe splash            "none", or the visible popup of the settings
//                               window's process: "left top right bottom style
//                               exstyle" (hex styles)
//   e2e_probe pointer           "x y", the pointer as the program sees it
//   e2e_probe copydata CASE     sends the settings window a WM_COPYDATA:
//       null-lparam, null-data, no-nul, lower-case, trailing-text, after-nul
#include <windows.h>

#include <cstdio>
#include <cstring>
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
  else if (Case != "null-lparam" && Case != "null-data") return 2;
  COPYDATASTRUCT Data{0, Case == "null-data" ? 14u : static_cast<DWORD>(Bytes.size()),
                      Bytes.empty() ? nullptr : Bytes.data()};
  SendMessageW(Window, WM_COPYDATA, 0, Case == "null-lparam" ? 0 : reinterpret_cast<LPARAM>(&Data));
  std::puts("sent");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string Command = argc > 1 ? argv[1] : "";
  if (Command == "main-state") return MainState();
  if (Command == "close-main") return CloseMain();
  if (Command == "pointer") return Pointer();
  if (Command == "splash") return Splash();
  if (Command == "copydata" && argc > 2) return CopyData(argv[2]);
  std::fputs("usage: e2e_probe main-state | close-main | pointer | splash | copydata CASE\n", stderr);
  return 2;
}
