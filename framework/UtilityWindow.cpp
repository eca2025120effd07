#include "framework/UtilityWindow.h"

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/WindowClasses.h"

namespace tarnwick {

TUtilityWindow::TUtilityWindow(TObject* Sender, THandler Handler, DWORD Style, const wchar_t* Title)
    : Sender_(Sender), Handler_(std::move(Handler)) {
  RegisterWindowClass(L"TUtilityWindow", L"", 0, StaticWndProc);
  const HWND Parent = Style ? nullptr : HWND_MESSAGE;
  Handle_ = CreateWindowExW(0, L"TUtilityWindow", Title, Style, 0, 0, 0, 0, Parent, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!Handle_) throw LastOSError();
}

TUtilityWindow::~TUtilityWindow() {
  SetWindowLongPtrW(Handle_, GWLP_USERDATA, 0);
  DestroyWindow(Handle_);
}

void TUtilityWindow::DefaultHandler(TMessage& Message) const {
  Message.Result = DefWindowProcW(Handle_, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TUtilityWindow::StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    auto* Creating = static_cast<TUtilityWindow*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
    SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Creating));
  }
  auto* Self = reinterpret_cast<TUtilityWindow*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (!Self) return DefWindowProcW(Window, Msg, WParam, LParam);
  if (!Self->Handle_) Self->Handle_ = Window;
  TMessage Message{Msg, WParam, LParam, 0};
  try {
    Self->Handler_(*Self, Message);
  } catch (...) {
    Application().HandleException(Self->Sender_);
  }
  return Message.Result;
}

}  // namespace tarnwick
