#include "framework/Control.h"

#include "framework/WinControl.h"

namespace tarnwick {

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
  if (Parent_) Parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (Parent_ == AParent) return;
  if (Parent_) Parent_->RemoveControl(this);
  Parent_ = AParent;
  if (Parent_) Parent_->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  UpdateBounds(ALeft, ATop, AWidth, AHeight);
  RequestAlign();
}

void TControl::SetAlign(TAlign Value) {
  Align_ = Value;
  RequestAlign();
}

void TControl::SetVisible(bool Value) {
  Visible_ = Value;
  if (Parent_) Parent_->Realign();
}

void TControl::SetEnabled(bool Value) { Enabled_ = Value; }

TColor TControl::Color() const {
  if (ColorSet_) return Color_;
  return Parent_ ? Parent_->Color() : clBtnFace;
}

void TControl::SetColor(TColor Value) {
  Color_ = Value;
  ColorSet_ = true;
  Invalidate();
}

void TControl::ChangeScale(int M, int D) {
  UpdateBounds(MulDiv(Left_, M, D), MulDiv(Top_, M, D), MulDiv(Width_, M, D), MulDiv(Height_, M, D));
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Left_ = ALeft;
  Top_ = ATop;
  Width_ = AWidth;
  Height_ = AHeight;
}

void TControl::RequestAlign() {
  if (Align_ != alNone && Parent_) Parent_->Realign();
}

void TControl::DoMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

}  // namespace tarnwick
