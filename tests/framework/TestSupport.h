#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "FakeDesktop.h"

namespace tarnwick::testing {

// The scripted desktop of the shell tests; the window tests read back the
// error reports it records.
using RecordingDesktop = FakeDesktop;

// Handles window messages until Done holds or TimeoutMs have passed;
// returns whether Done holds.
bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs = 2000);
// Handles window messages for about Ms milliseconds.
void PumpFor(int Ms);

}  // namespace tarnwick::testing
