// The program's entry: one running instance per user session; a second start
// asks the running one to show its settings window and ends.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <iterator>

#include "Application.h"
#include "DataFolder.h"
#include "InstanceMutex.h"
#include "Main.h"
#include "ShowRequest.h"

using namespace tarnwick;

namespace {

// Parameters on the command line, the program's own path not counted.
ULONG_PTR ParameterCount() {
  int Count = 0;
  if (HLOCAL Arguments = CommandLineToArgvW(GetCommandLineW(), &Count)) LocalFree(Arguments);
  return Count > 0 ? static_cast<ULONG_PTR>(Count - 1) : 0;
}

// Hands the running instance's settings window the show request; without a
// window (it is still starting or already closing) nothing is sent.
void SendShowRequest() {
  HWND Target = FindWindowW(L"TMainForm", L"Tarnwick");
  if (!Target) return;
  char16_t Text[std::size(ShowRequestText)];
  std::copy(std::begin(ShowRequestText), std::end(ShowRequestText), Text);
  COPYDATASTRUCT Request{ParameterCount(), static_cast<DWORD>(ShowRequestBytes), Text};
  SendMessageW(Target, WM_COPYDATA, reinterpret_cast<WPARAM>(Application().Handle()),
               reinterpret_cast<LPARAM>(&Request));
}

void RunInstance() {
  Application().Initialize();
  Application().SetTitle(L"Tarnwick");
  Application().CreateForm<TMainForm>();
  Application().Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Without its data folder the program cannot keep its settings: end
  // silently, not even asking a running instance to show itself.
  if (!PrepareDataFolder(L"Tarnwick", false)) return 0;
  try {
    InstanceMutex Mutex;
    if (Mutex.AnotherInstanceRuns()) {
      SendShowRequest();
    } else {
      RunInstance();
    }
  } catch (const std::exception&) {
    Application().HandleException(nullptr);
  }
  return 0;
}
