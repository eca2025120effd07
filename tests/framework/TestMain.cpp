#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Application.h"

namespace {

// Per-monitor DPI awareness (version 2), which the program's manifest asks
// for; the test exes have no manifest. Looked up at run time: older systems
// lack it.
void MakeProcessPerMonitorDpiAware() {
  using SetAwarenessFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto SetAwareness = reinterpret_cast<SetAwarenessFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (SetAwareness) SetAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

}  // namespace

// Windows of the tests are made the way the program makes them: per-monitor
// DPI aware, with the application initialised and titled.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  MakeProcessPerMonitorDpiAware();
  tarnwick::Application().Initialize();
  tarnwick::Application().SetTitle(L"Tarnwick");
  return RUN_ALL_TESTS();
}
