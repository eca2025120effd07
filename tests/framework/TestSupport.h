#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/shell/FakeDesktop.h"

namespace tarnwick {

class TCustomForm;
class TImage;
class TTimer;

}  // namespace tarnwick

namespace tarnwick::testing {

// The scripted desktop of the shell tests; the window tests read back the
// error reports it records.
using RecordingDesktop = FakeDesktop;

// Handles every window message that is waiting, as the application's
// message loop would, then returns.
void ProcessMessages();
// Handles window messages until Done holds or TimeoutMs have passed;
// returns whether Done holds.
bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs = 2000);
// Handles window messages for about Ms milliseconds.
void PumpFor(int Ms);

// What the tests read of the framework's objects beyond what the program
// needs of them.
// Whether the timer's system timer is set at present.
bool TimerRunning(const TTimer& Timer);
// The frame the image shows, counting from 0.
int FrameIndex(const TImage& Image);
// The timer that plays the image's animation.
const TTimer& AnimationTimer(const TImage& Image);
// How many times the image laid out a frame for showing since it was made.
int FramesPrepared(const TImage& Image);
// How many frames the image keeps laid out, ready to be shown again.
int FramesKept(const TImage& Image);
// The resolution the form's layout is scaled to at present.
int CurrentDpi(const TCustomForm& Form);

// A drop handle made exactly as the shell makes one: a movable global block
// holding DROPFILES and then the names, each NUL-terminated, and one more NUL.
HDROP ShellDrop(const std::vector<std::wstring>& Files, POINT Point = {});

}  // namespace tarnwick::testing
