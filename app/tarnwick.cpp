// The program's entry: one running instance per user session; a second start
// asks the running one to show its settings window and ends.
#include <windows.h>
#include <shellapi.h>

#include <exception>

#include "framework/Application.h"
#include "shell/DataFolder.h"
#include "app/InstanceMutex.h"
#include "watch/Main.h"
#include "app/ShowRequestSender.h"

using namespace tarnwick;

namespace {

// Parameters on the command line, the program's own path not counted.
ULONG_PTR ParameterCount() {
  int Count = 0;
  if (HLOCAL Arguments = CommandLineToArgvW(GetCommandLineW(), &Count)) LocalFree(Arguments);
  return Count > 0 ? static_cast<ULONG_PTR>(Count - 1) : 0;
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
    TInstanceMutex Mutex;
    if (Mutex.AnotherInstanceRuns()) {
      SendShowRequest(Application().Handle(), ParameterCount());
    } else {
      RunInstance();
    }
  } catch (const std::exception&) {
    Application().HandleException(nullptr);
  }
  return 0;
}
