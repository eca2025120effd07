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

  TWinControl* Parent() const { return Parent_; }
  // Moves the control into AParent's list of controls (none: out of any).
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return Left_; }
  int Top() const { return Top_; }
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  void SetWidth(int Value) { SetBounds(Left_, Top_, Value, Height_); }
  void SetHeight(int Value) { SetBounds(Left_, Top_, Width_, Value); }
  // Moves and sizes the control; an aligned control's parent then lines up
  // its controls again.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

  TAlign Align() const { return Align_; }
  void SetAlign(TAlign Value);

  // Visible by default; an invisible control takes no space in alignment.
  bool Visible() const { return Visible_; }
  virtual void SetVisible(bool Value);
  // Enabled by default.
  bool Enabled() const { return Enabled_; }
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

  TWinControl* Parent_ = nullptr;
  int Left_ = 0;
  int Top_ = 0;
  int Width_ = 0;
  int Height_ = 0;
  TAlign Align_ = alNone;
  bool Visible_ = true;
  bool Enabled_ = true;
  bool ColorSet_ = false;
  TColor Color_ = clBtnFace;
};

}  // namespace tarnwick
