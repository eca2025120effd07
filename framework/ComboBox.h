#pragma once

#include "framework/Object.h"
#include "framework/WinControl.h"

namespace tarnwick {

// A drop-down list: the user picks one of the items and cannot type.
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }

  const TStrings& Items() const { return FItems; }
  // New items; the selection is cleared.
  void SetItems(TStrings Value);
  // -1 (none) by default; a value outside the items is taken as -1.
  // Setting it from code raises no OnChange.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);

  // The user picked an item.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  // The window's height includes the list it drops down.
  int WindowHeight() const override { return Height() * 9; }

 private:
  void FillList();

  TStrings FItems;
  int FItemIndex = -1;
};

}  // namespace tarnwick
