#include "framework/Control.h"

#include "framework/WinControl.h"

namespace tarnwick {

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (FParent) FParent->RemoveControl(this);
  FParent = AParent;
  if (FParent) FParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  UpdateBounds(ALeft, ATop, AWidth, AHeight);
  RequestAlign();
}

void TControl::SetAlign(TAlign Value) {
  FAlign = Value;
  RequestAlign();
}

void TControl::SetVisible(bool Value) {
  FVisible = Value;
  if (FParent) FParent->Realign();
}

void TControl::SetEnabled(bool Value) { FEnabled = Value; }

TColor TControl::Color() const {
  if (FColorSet) return FColor;
  return FParent ? FParent->Color() : clBtnFace;
}

void TControl::SetColor(TColor Value) {
  FColor = Value;
  FColorSet = true;
  Invalidate();
}

void TControl::ChangeScale(int M, int D) {
  UpdateBounds(MulDiv(FLeft, M, D), MulDiv(FTop, M, D), MulDiv(FWidth, M, D), MulDiv(FHeight, M, D));
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
}

void TControl::RequestAlign() {
  if (FAlign != alNone && FParent) FParent->Realign();
}

void TControl::DoMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

}  // namespace tarnwick
