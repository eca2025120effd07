#pragma once

#include <vector>

#include "framework/GroupBox.h"
#include "framework/Object.h"

namespace tarnwick {

// A group box holding one radio button per item, laid out in columns; at
// most one item is selected.
class TRadioGroup : public TCustomGroupBox {
 public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner) { SetTabStop(true); }

  const TStrings& Items() const { return FItems; }
  // New items; the selection is cleared.
  void SetItems(TStrings Value);
  // -1 (none) by default. A value below -1 is taken as -1, one past the last
  // item as the last. OnClick follows every change, from code or the user.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // 1 by default; at least 1.
  void SetColumns(int Value);

  // Focuses the selected button, or the first.
  void SetFocus() override;

  TNotifyEvent OnClick;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

 private:
  void CreateButtons();
  void ArrangeButtons();
  void UpdateChecks();

  TStrings FItems;
  int FItemIndex = -1;
  int FColumns = 1;
  // The buttons are windows of the group's window and go with it.
  std::vector<HWND> FButtons;
};

}  // namespace tarnwick
