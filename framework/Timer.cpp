#include "framework/Timer.h"

#include "framework/Exception.h"

namespace tarnwick {
namespace {

constexpr UINT_PTR TimerId = 1;

}  // namespace

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner),
      Window_(std::make_unique<TUtilityWindow>(
          this, [this](TUtilityWindow& Window, TMessage& Message) { TimerWndProc(Window, Message); })) {
  UpdateTimer();
}

TTimer::~TTimer() {
  if (Running_) KillTimer(Window_->Handle(), TimerId);
}

void TTimer::SetInterval(unsigned Value) {
  if (Value == Interval_) return;
  Interval_ = Value;
  UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
  if (Value == Enabled_) return;
  Enabled_ = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (Running_) KillTimer(Window_->Handle(), TimerId);
  Running_ = false;
  if (!Enabled_ || Interval_ == 0) return;
  if (!SetTimer(Window_->Handle(), TimerId, Interval_, nullptr)) throw LastOSError();
  Running_ = true;
}

void TTimer::TimerWndProc(TUtilityWindow& Window, TMessage& Message) {
  if (Message.Msg != WM_TIMER) return Window.DefaultHandler(Message);
  if (OnTimer) OnTimer(this);
}

}  // namespace tarnwick
