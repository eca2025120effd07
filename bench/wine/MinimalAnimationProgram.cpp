// The least any program can do to play an animation: frames ready in one
// bitmap, a timer that invalidates, and a WM_PAINT that copies the frame
// with one BitBlt. The popup measurement compares against it.
//   minimal_animation_program [WIDTH HEIGHT DELAY_MS]   600 600 40 by default:
//                             a 600 x 600 animation at 25 frames a second
#include <windows.h>

#include <cstdint>
#include <cwchar>

namespace {

constexpr int Frames = 40;

int Width = 600;
int Height = 600;
HDC Sheet = nullptr;
int Frame = 0;

LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_TIMER:
      Frame = (Frame + 1) % Frames;
      InvalidateRect(Window, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT Paint;
      const HDC DC = BeginPaint(Window, &Paint);
      BitBlt(DC, 0, 0, Width, Height, Sheet, 0, Frame * Height, SRCCOPY);
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

// A moving gradient, every frame different.
bool MakeSheet() {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height * Frames;  // frames one below the other, top-down
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  const HBITMAP Bitmap = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Bitmap) return false;
  auto* Pixel = static_cast<std::uint32_t*>(Bits);
  for (int Y = 0; Y < Height * Frames; ++Y)
    for (int X = 0; X < Width; ++X) *Pixel++ = 0xFF000000u | ((X + Y) & 0xFF) << 16 | (Y & 0xFF) << 8 | (X & 0xFF);
  Sheet = CreateCompatibleDC(nullptr);
  SelectObject(Sheet, Bitmap);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR CommandLine, int) {
  int DelayMs = 40;
  std::swscanf(CommandLine, L"%d %d %d", &Width, &Height, &DelayMs);
  WNDCLASSW Class{};
  Class.lpfnWndProc = WindowProc;
  Class.hInstance = Instance;
  Class.lpszClassName = L"MinimalAnimationProgram";
  if (!MakeSheet() || !RegisterClassW(&Class)) return 1;
  const HWND Window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, Class.lpszClassName, L"", WS_POPUP, 660, 240,
                                      Width, Height, nullptr, nullptr, Instance, nullptr);
  if (!Window || !SetTimer(Window, 1, static_cast<UINT>(DelayMs), nullptr)) return 1;
  ShowWindow(Window, SW_SHOWNA);
  MSG Message;
  while (GetMessageW(&Message, nullptr, 0, 0) > 0) DispatchMessageW(&Message);
  return 0;
}
