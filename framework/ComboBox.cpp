#include "framework/ComboBox.h"

namespace tarnwick {

void TComboBox::SetItems(TStrings Value) {
  FItems = std::move(Value);
  FItemIndex = -1;
  if (HandleAllocated()) FillList();
}

void TComboBox::SetItemIndex(int Value) {
  FItemIndex = Value >= 0 && Value < static_cast<int>(FItems.size()) ? Value : -1;
  if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= CBS_DROPDOWNLIST | WS_VSCROLL;
  Params.WinClassName = L"TComboBox";
  Params.BaseClassName = L"COMBOBOX";
}

void TComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  FillList();
}

void TComboBox::FillList() {
  SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  for (const std::wstring& Item : FItems)
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Item.c_str()));
  SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == CBN_SELCHANGE) {
        FItemIndex = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        if (OnChange) OnChange(this);
      }
      return;
    case WM_WINDOWPOSCHANGED:
      // The closed window is shorter than the control's height; the
      // control keeps the height it was given.
      DefaultHandler(Message);
      return;
    default:
      TWinControl::WndProc(Message);
  }
}

}  // namespace tarnwick
