#include "tests/framework/TestSupport.h"

#include <shlobj.h>

#include <cstring>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Image.h"
#include "framework/Timer.h"

namespace tarnwick {

// The friend of the framework's classes that reads their state for the tests.
struct TFrameworkProbe {
  static bool Running(const TTimer& Timer) { return Timer.FRunning; }
  static int FrameIndex(const TImage& Image) { return Image.FFrameIndex; }
  static const TTimer& AnimationTimer(const TImage& Image) { return *Image.FTimer; }
  static int FramesPrepared(const TImage& Image) { return Image.FFramesPrepared; }
  static int FramesKept(const TImage& Image) { return Image.FSheet ? Image.FSheet->Kept() : 0; }
  static int CurrentDpi(const TCustomForm& Form) { return Form.FCurrentDpi; }
};

}  // namespace tarnwick

namespace tarnwick::testing {

void ProcessMessages() {
  MSG Msg;
  // A quit message ends the pumping here as it would end the program's loop.
  while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE) && Msg.message != WM_QUIT) Application().Dispatch(Msg);
}

bool TimerRunning(const TTimer& Timer) { return TFrameworkProbe::Running(Timer); }
int FrameIndex(const TImage& Image) { return TFrameworkProbe::FrameIndex(Image); }
const TTimer& AnimationTimer(const TImage& Image) { return TFrameworkProbe::AnimationTimer(Image); }
int FramesPrepared(const TImage& Image) { return TFrameworkProbe::FramesPrepared(Image); }
int FramesKept(const TImage& Image) { return TFrameworkProbe::FramesKept(Image); }
int CurrentDpi(const TCustomForm& Form) { return TFrameworkProbe::CurrentDpi(Form); }

bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs) {
  const ULONGLONG End = GetTickCount64() + static_cast<ULONGLONG>(TimeoutMs);
  while (!Done()) {
    if (GetTickCount64() >= End) return false;
    ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(int Ms) {
  PumpUntil([] { return false; }, Ms);
}

HDROP ShellDrop(const std::vector<std::wstring>& Files, POINT Point) {
  std::wstring Names;
  for (const std::wstring& File : Files) Names += File + L'\0';
  Names += L'\0';
  const HGLOBAL Block = GlobalAlloc(GHND, sizeof(DROPFILES) + Names.size() * sizeof(wchar_t));
  auto* Header = static_cast<DROPFILES*>(GlobalLock(Block));
  Header->pFiles = sizeof(DROPFILES);
  Header->pt = Point;
  Header->fWide = TRUE;
  std::memcpy(Header + 1, Names.data(), Names.size() * sizeof(wchar_t));
  GlobalUnlock(Block);
  return static_cast<HDROP>(Block);
}

}  // namespace tarnwick::testing
