#include "framework/UtilityWindow.h"

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/WindowBinding.h"
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
  Unbind(Handle_);
  DestroyWindow(Handle_);
}

void TUtilityWindow::DefaultHandler(TMessage& Message) const {
  Message.Result = DefWindowProcW(Handle_, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TUtilityWindow::StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Self = BoundObject<TUtilityWindow>(Window, Msg, LParam);
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
