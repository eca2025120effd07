#pragma once

#include "framework/WinControl.h"

namespace tarnwick {

// A control of our own window class that draws itself. Drawing goes
// through an off-screen bitmap, so the window never shows a half-drawn
// state.
class TCustomControl : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  // Draws the control into DC (the window's font selected) over its
  // background, already filled with Color.
  virtual void Paint(HDC DC, const RECT& Client) = 0;
  void WndProc(TMessage& Message) override;

 private:
  void PaintBuffered();
};

}  // namespace tarnwick
