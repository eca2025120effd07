// The least any program can do to play an animation: frames in one bitmap,
// a timer that invalidates, and a WM_PAINT that copies the frame with one
// BitBlt. The popup measurement compares against it.
//   minimal_animation_program [WIDTH HEIGHT DELAY_MS [SHOWN_S]]
//     600 600 40 by default: a 600 x 600 animation at 25 frames a second,
//     its frames made at start and shown from then on.
//     With SHOWN_S the window shows as a popup does, for SHOWN_S seconds at
//     a time with two hidden seconds between, and holds no frame while
//     hidden: each show makes a fresh bitmap, each frame in it as the frame
//     is first drawn, and lets it go at the end. That is the least an
//     animation costs whose frames are not kept while nothing shows them.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace {

constexpr int Frames = 40;
constexpr UINT_PTR FrameTimer = 1;
constexpr UINT_PTR ShowTimer = 2;
constexpr UINT HiddenMs = 2000;

int Width = 600;
int Height = 600;
int DelayMs = 40;
int ShownSeconds = 0;  // 0: shown from start to end, the frames made at start
HDC Sheet = nullptr;
HBITMAP SheetBitmap = nullptr;
HGDIOBJ SheetDefault = nullptr;
std::uint32_t* SheetPixels = nullptr;
bool Made[Frames]{};
int Frame = 0;

// Frame Index of stripes, each frame in a green of its own, written about
// as fast as memory takes it.
void MakeFrame(int Index) {
  std::uint32_t* Pixel = SheetPixels + static_cast<std::size_t>(Index) * Width * Height;
  const std::uint32_t Green = static_cast<std::uint32_t>(Index * 6 & 0xFF) << 8;
  for (int Y = 0; Y < Height; ++Y)
    Pixel = std::fill_n(Pixel, Width, 0xFF000000u | (Y & 0xFF) << 16 | Green | (Y * 7 & 0xFF));
  Made[Index] = true;
}

// An uninitialised bitmap of every frame, one below the other, top-down.
bool CreateSheet() {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height * Frames;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  SheetBitmap = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!SheetBitmap) return false;
  SheetPixels = static_cast<std::uint32_t*>(Bits);
  SheetDefault = SelectObject(Sheet, SheetBitmap);
  std::fill_n(Made, Frames, false);
  return true;
}

void DeleteSheet() {
  SelectObject(Sheet, SheetDefault);
  DeleteObject(SheetBitmap);
  SheetBitmap = nullptr;
  SheetPixels = nullptr;
}

// Makes the bitmap and shows the window: with every frame made at once, or
// for a popup's time with each frame made as it is first drawn.
bool Show(HWND Window) {
  if (!CreateSheet()) return false;
  if (ShownSeconds == 0)
    for (int Index = 0; Index < Frames; ++Index) MakeFrame(Index);
  else if (!SetTimer(Window, ShowTimer, static_cast<UINT>(ShownSeconds) * 1000, nullptr))
    return false;
  Frame = 0;
  if (!SetTimer(Window, FrameTimer, static_cast<UINT>(DelayMs), nullptr)) return false;
  ShowWindow(Window, SW_SHOWNA);
  return true;
}

void Hide(HWND Window) {
  KillTimer(Window, FrameTimer);
  ShowWindow(Window, SW_HIDE);
  DeleteSheet();
  SetTimer(Window, ShowTimer, HiddenMs, nullptr);
}

LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_TIMER:
      if (WParam == ShowTimer) {
        if (SheetBitmap)
          Hide(Window);
        else if (!Show(Window))
          PostQuitMessage(1);
        return 0;
      }
      Frame = (Frame + 1) % Frames;
      InvalidateRect(Window, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT Paint;
      const HDC DC = BeginPaint(Window, &Paint);
      if (SheetBitmap) {
        if (!Made[Frame]) MakeFrame(Frame);
        BitBlt(DC, 0, 0, Width, Height, Sheet, 0, Frame * Height, SRCCOPY);
      }
      EndPaint(Window, &Paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(Window, Msg, WParam, LParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR CommandLine, int) {
  std::swscanf(CommandLine, L"%d %d %d %d", &Width, &Height, &DelayMs, &ShownSeconds);
  WNDCLASSW Class{};
  Class.lpfnWndProc = WindowProc;
  Class.hInstance = Instance;
  Class.lpszClassName = L"MinimalAnimationProgram";
  Sheet = CreateCompatibleDC(nullptr);
  if (!Sheet || !RegisterClassW(&Class)) return 1;
  const HWND Window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, Class.lpszClassName, L"", WS_POPUP, 660, 240,
                                      Width, Height, nullptr, nullptr, Instance, nullptr);
  if (!Window) return 1;
  // A popup first shows after a hidden while.
  if (ShownSeconds > 0 ? !SetTimer(Window, ShowTimer, HiddenMs, nullptr) : !Show(Window)) return 1;
  MSG Message;
  while (GetMessageW(&Message, nullptr, 0, 0) > 0) DispatchMessageW(&Message);
  return static_cast<int>(Message.wParam);
}
