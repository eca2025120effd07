#pragma once

#include <memory>

#include "framework/Component.h"
#include "framework/UtilityWindow.h"

namespace tarnwick {

// A periodic timer whose ticks arrive through the message loop on the GUI
// thread. It runs while Enabled and Interval is not 0; switching it on, or
// changing the period, starts a new full period. A tick that falls due
// while the thread is busy comes once afterwards; missed ticks are not
// made up. An exception that leaves OnTimer goes to the error report and
// the timer keeps running.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  // 1000 ms by default.
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  // On by default.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);

  TNotifyEvent OnTimer;

 private:
  void UpdateTimer();
  friend struct TFrameworkProbe;
  void TimerWndProc(TUtilityWindow& Window, TMessage& Message);

  unsigned FInterval = 1000;
  bool FEnabled = true;
  // Whether the system's timer is set at present.
  bool FRunning = false;
  std::unique_ptr<TUtilityWindow> FWindow;
};

}  // namespace tarnwick
