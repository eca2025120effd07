#pragma once

#include <cstdint>

#include "framework/Color.h"
#include "framework/Component.h"

namespace tarnwick {

class TWinControl;

// Where a control sits in its container: along one side, keeping its own
// height (top, bottom) or width (left, right), or filling what the others
// leave (client).
enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A control: a component with a place inside a windowed parent. Bounds are
// in pixels, relative to the parent's client area (to the screen for a
// window without parent).
class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  // Moves the control into AParent's list of controls (none: out of any).
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // Moves and sizes the control; an aligned control's parent then lines up
  // its controls again.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);

  // Visible by default; an invisible control takes no space in alignment.
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  // Enabled by default.
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  // The own colour once one is set, else the parent's, else button face.
  TColor Color() const;
  void SetColor(TColor Value);

  // The pointer left the control (see TCustomForm for which control hears it).
  TNotifyEvent OnMouseLeave;

 protected:
  // Scales the bounds by M / D, as a change of screen resolution asks.
  virtual void ChangeScale(int M, int D);
  // Stores new bounds and moves the control's window, if it has one.
  virtual void UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight);
  // Redraws the control after a change of its look.
  virtual void Invalidate() {}

 private:
  friend class TWinControl;
  friend class TCustomForm;
  void RequestAlign();
  void DoMouseLeave();

  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  bool FColorSet = false;
  TColor FColor = clBtnFace;
};

}  // namespace tarnwick
