#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/shell/FakeDesktop.h"

namespace tarnwick::testing {

// The scripted desktop of the shell tests; the window tests read back the
// error reports it records.
using RecordingDesktop = FakeDesktop;

// Handles window messages until Done holds or TimeoutMs have passed;
// returns whether Done holds.
bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs = 2000);
// Handles window messages for about Ms milliseconds.
void PumpFor(int Ms);

// A drop handle made exactly as the shell makes one: a movable global block
// holding DROPFILES and then the names, each NUL-terminated, and one more NUL.
HDROP ShellDrop(const std::vector<std::wstring>& Files, POINT Point = {});

}  // namespace tarnwick::testing
