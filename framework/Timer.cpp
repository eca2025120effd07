#include "framework/Timer.h"

#include "framework/Exception.h"

namespace tarnwick {
namespace {

constexpr UINT_PTR TimerId = 1;

}  // namespace

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner),
      FWindow(std::make_unique<TUtilityWindow>(
          this, [this](TUtilityWindow& Window, TMessage& Message) { TimerWndProc(Window, Message); })) {
  UpdateTimer();
}

TTimer::~TTimer() {
  if (FRunning) KillTimer(FWindow->Handle(), TimerId);
}

void TTimer::SetInterval(unsigned Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FRunning) KillTimer(FWindow->Handle(), TimerId);
  FRunning = false;
  if (!FEnabled || FInterval == 0) return;
  if (!SetTimer(FWindow->Handle(), TimerId, FInterval, nullptr)) throw LastOSError();
  FRunning = true;
}

void TTimer::TimerWndProc(TUtilityWindow& Window, TMessage& Message) {
  if (Message.Msg != WM_TIMER) return Window.DefaultHandler(Message);
  if (OnTimer) OnTimer(this);
}

}  // namespace tarnwick
