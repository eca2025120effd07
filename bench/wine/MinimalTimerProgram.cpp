// The smallest program that lives as the watcher does: a hidden window, a
// one-second timer and a message loop. Idle measurements compare against it.
// With --sample-pointer each tick also reads the pointer's position, the one
// system call the watcher's tick cannot do without.
#include <windows.h>

#include <cwchar>

namespace {

bool SamplePointer = false;

LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_TIMER:
      if (SamplePointer) {
        POINT Pointer;
        GetCursorPos(&Pointer);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(Window, Msg, WParam, LParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR CommandLine, int) {
  SamplePointer = std::wcsstr(CommandLine, L"--sample-pointer") != nullptr;
  WNDCLASSW Class{};
  Class.lpfnWndProc = WindowProc;
  Class.hInstance = Instance;
  Class.lpszClassName = L"MinimalTimerProgram";
  if (!RegisterClassW(&Class)) return 1;
  const HWND Window = CreateWindowExW(0, Class.lpszClassName, L"MinimalTimerProgram", WS_OVERLAPPEDWINDOW, 0, 0,
                                      100, 100, nullptr, nullptr, Instance, nullptr);
  if (!Window || !SetTimer(Window, 1, 1000, nullptr)) return 1;
  MSG Message;
  while (GetMessageW(&Message, nullptr, 0, 0) > 0) DispatchMessageW(&Message);
  return 0;
}
