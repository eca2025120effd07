#include "framework/RadioGroup.h"

#include <algorithm>

#include "framework/Exception.h"

namespace tarnwick {

void TRadioGroup::SetItems(TStrings Value) {
  Items_ = std::move(Value);
  ItemIndex_ = -1;
  if (HandleAllocated()) CreateButtons();
}

void TRadioGroup::SetItemIndex(int Value) {
  Value = std::clamp(Value, -1, static_cast<int>(Items_.size()) - 1);
  if (Value == ItemIndex_) return;
  ItemIndex_ = Value;
  UpdateChecks();
  if (OnClick) OnClick(this);
}

void TRadioGroup::SetColumns(int Value) {
  Columns_ = std::max(1, Value);
  if (HandleAllocated()) ArrangeButtons();
}

void TRadioGroup::SetFocus() {
  Handle();
  if (Buttons_.empty()) return TCustomGroupBox::SetFocus();
  ::SetFocus(Buttons_[ItemIndex_ >= 0 ? static_cast<std::size_t>(ItemIndex_) : 0]);
}

void TRadioGroup::CreateParams(TCreateParams& Params) {
  TCustomGroupBox::CreateParams(Params);
  Params.WinClassName = L"TRadioGroup";
}

void TRadioGroup::CreateWnd() {
  TCustomGroupBox::CreateWnd();
  CreateButtons();
}

void TRadioGroup::CreateButtons() {
  for (const HWND Button : Buttons_) DestroyWindow(Button);
  Buttons_.clear();
  for (std::size_t Index = 0; Index < Items_.size(); ++Index) {
    const HWND Button = CreateWindowExW(
        0, L"BUTTON", Items_[Index].c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_RADIOBUTTON | (IsWindowEnabled(Handle()) ? 0 : WS_DISABLED), 0, 0, 0, 0,
        Handle(), reinterpret_cast<HMENU>(Index), GetModuleHandleW(nullptr), nullptr);
    if (!Button) throw LastOSError();
    SendMessageW(Button, WM_SETFONT, reinterpret_cast<WPARAM>(WindowFont()), FALSE);
    Buttons_.push_back(Button);
  }
  ArrangeButtons();
  UpdateChecks();
}

// Columns fill top to bottom; the rows share the space below the caption.
void TRadioGroup::ArrangeButtons() {
  if (Buttons_.empty()) return;
  const int Count = static_cast<int>(Buttons_.size());
  const int PerColumn = (Count + Columns_ - 1) / Columns_;
  const int LineHeight = TextHeight();
  const int ButtonWidth = (Width() - 10) / Columns_;
  const int Space = Height() - LineHeight - 5;
  const int ButtonHeight = Space / PerColumn;
  const int TopMargin = LineHeight + 1 + (Space % PerColumn) / 2;
  for (int Index = 0; Index < Count; ++Index)
    SetWindowPos(Buttons_[static_cast<std::size_t>(Index)], nullptr, (Index / PerColumn) * ButtonWidth + 8,
                 (Index % PerColumn) * ButtonHeight + TopMargin, ButtonWidth, ButtonHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TRadioGroup::UpdateChecks() {
  for (std::size_t Index = 0; Index < Buttons_.size(); ++Index)
    SendMessageW(Buttons_[Index], BM_SETCHECK,
                 static_cast<int>(Index) == ItemIndex_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioGroup::WndProc(TMessage& Message) {
  if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    const auto Button = std::ranges::find(Buttons_, reinterpret_cast<HWND>(Message.LParam));
    if (Button != Buttons_.end()) {
      SetItemIndex(static_cast<int>(Button - Buttons_.begin()));
      return;
    }
  }
  TCustomGroupBox::WndProc(Message);
  switch (Message.Msg) {
    case WM_SETFONT:
      for (const HWND Button : Buttons_) SendMessageW(Button, WM_SETFONT, Message.WParam, Message.LParam);
      ArrangeButtons();
      break;
    case WM_SIZE:
      ArrangeButtons();
      break;
    case WM_ENABLE:
      for (const HWND Button : Buttons_) EnableWindow(Button, static_cast<BOOL>(Message.WParam));
      break;
    case WM_NCDESTROY:
      Buttons_.clear();
      break;
    default:
      break;
  }
}

}  // namespace tarnwick
