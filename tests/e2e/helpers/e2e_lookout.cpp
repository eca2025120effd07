// Watches the running program from outside, for the end-to-end tests and the
// soak run. Prints one line of answer (popups: one a second); exit code 2 on
// a usage error.
//   e2e_lookout error-box      "none", or the text of the program's message box
//   e2e_lookout close-box [yes|no]
//                              presses the message box's OK button (or Yes,
//                              or No): "closed" or "none"
//   e2e_lookout answers        "yes N ms" when the settings window answers
//                              WM_NULL within a second, else "no"
//   e2e_lookout picture-centre the screen point "X Y" at the centre of the
//                              settings window's shown picture, or "none"
//   e2e_lookout popups SECONDS counts the popups that appear, printing the
//                              total every second, for SECONDS or until the
//                              program ends
//   e2e_lookout focus          "ACTIVE FOCUS TEXT": the classes of the program's
//                              active window and of its window with the
//                              keyboard focus, and that window's text
//   e2e_lookout foreground     the class of the foreground window, or "none"
//   e2e_lookout taskbar        "visible" or "hidden": the program's taskbar
//                              window, the owner of its settings window
//   e2e_lookout sound-group    "enabled" when the sound group box and every
//                              control inside it are enabled, "disabled" when
//                              the group box is (nothing inside takes input
//                              then), "mixed" otherwise, or "none"
//   e2e_lookout first-paint R G B
//                              waits up to 30 s for the next popup window and
//                              prints how many ms passed from its creation
//                              until the screen at its centre shows the colour
//                              R G B, or "none"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>

namespace {

HWND SettingsWindow() { return FindWindowW(L"TMainForm", L"Tarnwick"); }

DWORD ProgramProcessId() {
  DWORD ProcessId = 0;
  if (HWND Window = SettingsWindow()) GetWindowThreadProcessId(Window, &ProcessId);
  return ProcessId;
}

std::wstring ClassOf(HWND Window) {
  wchar_t Name[64] = {};
  GetClassNameW(Window, Name, 64);
  return Name;
}

std::wstring TextOf(HWND Window) {
  std::wstring Text(static_cast<std::size_t>(GetWindowTextLengthW(Window)) + 1, L'\0');
  Text.resize(static_cast<std::size_t>(GetWindowTextW(Window, Text.data(), static_cast<int>(Text.size()))));
  return Text;
}

void PrintUtf8(const std::wstring& Text) {
  const int Bytes = WideCharToMultiByte(CP_UTF8, 0, Text.c_str(), static_cast<int>(Text.size()), nullptr, 0, nullptr, nullptr);
  std::string Utf8(static_cast<std::size_t>(Bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, Text.c_str(), static_cast<int>(Text.size()), Utf8.data(), Bytes, nullptr, nullptr);
  std::puts(Utf8.c_str());
}

// Visible top-level windows of the program's process with class ClassName.
struct WindowSearch {
  DWORD ProcessId;
  const wchar_t* ClassName;
  std::set<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND Window, LPARAM Param) {
  auto& Search = *reinterpret_cast<WindowSearch*>(Param);
  DWORD ProcessId = 0;
  GetWindowThreadProcessId(Window, &ProcessId);
  if (ProcessId == Search.ProcessId && IsWindowVisible(Window) && ClassOf(Window) == Search.ClassName)
    Search.Found.insert(Window);
  return TRUE;
}

std::set<HWND> ProgramWindows(DWORD ProcessId, const wchar_t* ClassName) {
  WindowSearch Search{ProcessId, ClassName, {}};
  if (ProcessId) EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

HWND MessageBoxWindow() {
  const std::set<HWND> Boxes = ProgramWindows(ProgramProcessId(), L"#32770");
  return Boxes.empty() ? nullptr : *Boxes.begin();
}

// The box's message is its longest static text; the icon is a static too.
BOOL CALLBACK KeepLongestStatic(HWND Child, LPARAM Param) {
  auto& Longest = *reinterpret_cast<std::wstring*>(Param);
  if (ClassOf(Child) == L"Static") {
    const std::wstring Text = TextOf(Child);
    if (Text.size() > Longest.size()) Longest = Text;
  }
  return TRUE;
}

int ErrorBox() {
  HWND Box = MessageBoxWindow();
  std::wstring Message;
  if (Box) EnumChildWindows(Box, KeepLongestStatic, reinterpret_cast<LPARAM>(&Message));
  PrintUtf8(Box ? Message : L"none");
  return 0;
}

int CloseBox(const std::string& Button) {
  const int Id = Button == "yes" ? IDYES : Button == "no" ? IDNO : IDOK;
  HWND Box = MessageBoxWindow();
  if (Box) PostMessageW(Box, WM_COMMAND, MAKEWPARAM(Id, BN_CLICKED), 0);
  std::puts(Box ? "closed" : "none");
  return 0;
}

int Answers() {
  DWORD_PTR Result = 0;
  HWND Window = SettingsWindow();
  const ULONGLONG Start = GetTickCount64();
  const bool Answered =
      Window && SendMessageTimeoutW(Window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &Result);
  if (Answered) std::printf("yes %llu ms\n", GetTickCount64() - Start);
  else std::puts("no");
  return 0;
}

// The shown picture is the visible picture control; the built-in one beside
// it is kept hidden.
BOOL CALLBACK FindShownPicture(HWND Child, LPARAM Param) {
  if (ClassOf(Child) != L"TImage" || !IsWindowVisible(Child)) return TRUE;
  *reinterpret_cast<HWND*>(Param) = Child;
  return FALSE;
}

int PictureCentre() {
  HWND Picture = nullptr;
  if (HWND Window = SettingsWindow()) EnumChildWindows(Window, FindShownPicture, reinterpret_cast<LPARAM>(&Picture));
  RECT Bounds;
  if (!Picture || !GetWindowRect(Picture, &Bounds)) {
    std::puts("none");
    return 0;
  }
  std::printf("%ld %ld\n", (Bounds.left + Bounds.right) / 2, (Bounds.top + Bounds.bottom) / 2);
  return 0;
}

// A popup is a new window each time, so each new handle is one popup.
int Popups(int Seconds) {
  const DWORD ProcessId = ProgramProcessId();
  std::set<HWND> Seen;
  unsigned long long Total = 0;
  const ULONGLONG End = GetTickCount64() + static_cast<ULONGLONG>(Seconds) * 1000;
  ULONGLONG NextPrint = GetTickCount64() + 1000;
  while (GetTickCount64() < End && ProgramProcessId() == ProcessId && ProcessId) {
    const std::set<HWND> Visible = ProgramWindows(ProcessId, L"TSplashForm");
    for (HWND Popup : Visible) Total += Seen.count(Popup) ? 0 : 1;
    Seen = Visible;
    if (GetTickCount64() >= NextPrint) {
      std::printf("%llu\n", Total);
      std::fflush(stdout);
      NextPrint += 1000;
    }
    Sleep(50);
  }
  std::printf("%llu\n", Total);
  return 0;
}

std::wstring ClassOrNone(HWND Window) { return Window ? ClassOf(Window) : L"none"; }

// Asked of the window itself: a drop-down list keeps no window text of its
// own that another process could read, but answers with its choice.
std::wstring AnsweredText(HWND Window) {
  wchar_t Text[256] = {};
  DWORD_PTR Length = 0;
  SendMessageTimeoutW(Window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(Text), SMTO_ABORTIFHUNG, 1000, &Length);
  return Text;
}

int Focus() {
  GUITHREADINFO Info{};
  Info.cbSize = sizeof Info;
  const HWND Window = SettingsWindow();
  if (!Window || !GetGUIThreadInfo(GetWindowThreadProcessId(Window, nullptr), &Info)) {
    std::puts("none");
    return 0;
  }
  PrintUtf8(ClassOrNone(Info.hwndActive) + L" " + ClassOrNone(Info.hwndFocus) + L" " +
            (Info.hwndFocus ? AnsweredText(Info.hwndFocus) : L""));
  return 0;
}

int Foreground() {
  PrintUtf8(ClassOrNone(GetForegroundWindow()));
  return 0;
}

int Taskbar() {
  const HWND Window = SettingsWindow();
  const HWND Owner = Window ? GetWindow(Window, GW_OWNER) : nullptr;
  std::puts(!Owner ? "none" : IsWindowVisible(Owner) ? "visible" : "hidden");
  return 0;
}

struct ChildSearch {
  const wchar_t* ClassName;
  const wchar_t* Text;
  HWND Found = nullptr;
};

BOOL CALLBACK FindChild(HWND Child, LPARAM Param) {
  auto& Search = *reinterpret_cast<ChildSearch*>(Param);
  if (ClassOf(Child) != Search.ClassName || TextOf(Child) != Search.Text) return TRUE;
  Search.Found = Child;
  return FALSE;
}

BOOL CALLBACK KeepAllEnabled(HWND Child, LPARAM Param) {
  *reinterpret_cast<bool*>(Param) &= IsWindowEnabled(Child) != FALSE;
  return TRUE;
}

int SoundGroup() {
  ChildSearch Search{L"TGroupBox", L"モニタ間移動音声"};
  if (HWND Window = SettingsWindow()) EnumChildWindows(Window, FindChild, reinterpret_cast<LPARAM>(&Search));
  if (!Search.Found) {
    std::puts("none");
    return 0;
  }
  if (!IsWindowEnabled(Search.Found)) {
    std::puts("disabled");
    return 0;
  }
  bool InsideEnabled = true;
  EnumChildWindows(Search.Found, KeepAllEnabled, reinterpret_cast<LPARAM>(&InsideEnabled));
  std::puts(InsideEnabled ? "enabled" : "mixed");
  return 0;
}

bool Near(COLORREF Pixel, COLORREF Colour) {
  constexpr int Tolerance = 32;  // a dithered GIF frame or a JPEG of the same picture
  return std::abs(GetRValue(Pixel) - GetRValue(Colour)) <= Tolerance &&
         std::abs(GetGValue(Pixel) - GetGValue(Colour)) <= Tolerance &&
         std::abs(GetBValue(Pixel) - GetBValue(Colour)) <= Tolerance;
}

double MsSince(const LARGE_INTEGER& Start) {
  LARGE_INTEGER Now, Frequency;
  QueryPerformanceCounter(&Now);
  QueryPerformanceFrequency(&Frequency);
  return 1000.0 * static_cast<double>(Now.QuadPart - Start.QuadPart) / static_cast<double>(Frequency.QuadPart);
}

// Every popup window, shown or not.
std::set<HWND> PopupWindows() {
  std::set<HWND> Found;
  for (HWND Window = nullptr; (Window = FindWindowExW(nullptr, Window, L"TSplashForm", nullptr));) Found.insert(Window);
  return Found;
}

// A popup window that is not among Known, or none.
HWND NewPopup(const std::set<HWND>& Known) {
  for (HWND Window : PopupWindows())
    if (!Known.count(Window)) return Window;
  return nullptr;
}

// Polls as fast as the window list and the screen answer: each look is a
// request to the wineserver or the X server.
int FirstPaint(COLORREF Colour) {
  const std::set<HWND> Known = PopupWindows();
  const ULONGLONG Deadline = GetTickCount64() + 30000;
  HWND Popup = nullptr;
  while (!(Popup = NewPopup(Known)))
    if (GetTickCount64() > Deadline) {
      std::puts("none");
      return 0;
    }
  LARGE_INTEGER Created;
  QueryPerformanceCounter(&Created);
  const HDC Screen = GetDC(nullptr);
  RECT Bounds;
  while (GetWindowRect(Popup, &Bounds)) {
    const COLORREF Pixel = GetPixel(Screen, (Bounds.left + Bounds.right) / 2, (Bounds.top + Bounds.bottom) / 2);
    if (IsWindowVisible(Popup) && Near(Pixel, Colour)) {
      std::printf("%.1f\n", MsSince(Created));
      ReleaseDC(nullptr, Screen);
      return 0;
    }
  }
  ReleaseDC(nullptr, Screen);
  std::puts("none");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string Command = argc > 1 ? argv[1] : "";
  if (Command == "error-box") return ErrorBox();
  if (Command == "close-box") return CloseBox(argc > 2 ? argv[2] : "");
  if (Command == "answers") return Answers();
  if (Command == "picture-centre") return PictureCentre();
  if (Command == "popups" && argc > 2) return Popups(std::atoi(argv[2]));
  if (Command == "focus") return Focus();
  if (Command == "foreground") return Foreground();
  if (Command == "taskbar") return Taskbar();
  if (Command == "sound-group") return SoundGroup();
  if (Command == "first-paint" && argc > 4)
    return FirstPaint(RGB(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])));
  std::fputs("usage: e2e_lookout error-box | close-box [yes|no] | answers | picture-centre | popups SECONDS |\n"
             "       focus | foreground | taskbar | sound-group | first-paint R G B\n", stderr);
  return 2;
}
