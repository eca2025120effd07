#include "framework/RadioGroup.h"

#include <algorithm>

#include "framework/Exception.h"

namespace tarnwick {

void TRadioGroup::SetItems(TStrings Value) {
  FItems = std::move(Value);
  FItemIndex = -1;
  if (HandleAllocated()) CreateButtons();
}

void TRadioGroup::SetItemIndex(int Value) {
  Value = std::clamp(Value, -1, static_cast<int>(FItems.size()) - 1);
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  UpdateChecks();
  if (OnClick) OnClick(this);
}

void TRadioGroup::SetColumns(int Value) {
  FColumns = std::max(1, Value);
  if (HandleAllocated()) ArrangeButtons();
}

void TRadioGroup::SetFocus() {
  Handle();
  if (FButtons.empty()) return TCustomGroupBox::SetFocus();
  ::SetFocus(FButtons[FItemIndex >= 0 ? static_cast<std::size_t>(FItemIndex) : 0]);
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
  for (const HWND Button : FButtons) DestroyWindow(Button);
  FButtons.clear();
  for (std::size_t Index = 0; Index < FItems.size(); ++Index) {
    const HWND Button = CreateWindowExW(
        0, L"BUTTON", FItems[Index].c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_RADIOBUTTON | (IsWindowEnabled(Handle()) ? 0 : WS_DISABLED), 0, 0, 0, 0,
        Handle(), reinterpret_cast<HMENU>(Index), GetModuleHandleW(nullptr), nullptr);
    if (!Button) throw LastOSError();
    SendMessageW(Button, WM_SETFONT, reinterpret_cast<WPARAM>(WindowFont()), FALSE);
    FButtons.push_back(Button);
  }
  ArrangeButtons();
  UpdateChecks();
}

// Columns fill top to bottom; the rows share the space below the caption.
void TRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  const int Count = static_cast<int>(FButtons.size());
  const int PerColumn = (Count + FColumns - 1) / FColumns;
  const int LineHeight = TextHeight();
  const int ButtonWidth = (Width() - 10) / FColumns;
  const int Space = Height() - LineHeight - 5;
  const int ButtonHeight = Space / PerColumn;
  const int TopMargin = LineHeight + 1 + (Space % PerColumn) / 2;
  for (int Index = 0; Index < Count; ++Index)
    SetWindowPos(FButtons[static_cast<std::size_t>(Index)], nullptr, (Index / PerColumn) * ButtonWidth + 8,
                 (Index % PerColumn) * ButtonHeight + TopMargin, ButtonWidth, ButtonHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TRadioGroup::UpdateChecks() {
  for (std::size_t Index = 0; Index < FButtons.size(); ++Index)
    SendMessageW(FButtons[Index], BM_SETCHECK,
                 static_cast<int>(Index) == FItemIndex ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioGroup::WndProc(TMessage& Message) {
  if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    const auto Button = std::ranges::find(FButtons, reinterpret_cast<HWND>(Message.LParam));
    if (Button != FButtons.end()) {
      SetItemIndex(static_cast<int>(Button - FButtons.begin()));
      return;
    }
  }
  TCustomGroupBox::WndProc(Message);
  switch (Message.Msg) {
    case WM_SETFONT:
      for (const HWND Button : FButtons) SendMessageW(Button, WM_SETFONT, Message.WParam, Message.LParam);
      ArrangeButtons();
      break;
    case WM_SIZE:
      ArrangeButtons();
      break;
    case WM_ENABLE:
      for (const HWND Button : FButtons) EnableWindow(Button, static_cast<BOOL>(Message.WParam));
      break;
    case WM_NCDESTROY:
      FButtons.clear();
      break;
    default:
      break;
  }
}

}  // namespace tarnwick
