#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/Dpi.h"

// Windows of the tests are made the way the program makes them: per-monitor
// DPI aware, with the application initialised and titled.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  tarnwick::MakeProcessPerMonitorDpiAware();
  tarnwick::Application().Initialize();
  tarnwick::Application().SetTitle(L"Tarnwick");
  return RUN_ALL_TESTS();
}
