#include "framework/UtilityWindow.h"

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/WindowBinding.h"
#include "framework/WindowClasses.h"

namespace tarnwick {

TUtilityWindow::TUtilityWindow(TObject* Sender, THandler Handler, DWORD Style, const wchar_t* Title)
    : FSender(Sender), FHandler(std::move(Handler)) {
  RegisterWindowClass(L"TUtilityWindow", L"", 0, StaticWndProc);
  const HWND Parent = Style ? nullptr : HWND_MESSAGE;
  FHandle = CreateWindowExW(0, L"TUtilityWindow", Title, Style, 0, 0, 0, 0, Parent, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!FHandle) throw LastOSError();
}

TUtilityWindow::~TUtilityWindow() {
  Unbind(FHandle);
  DestroyWindow(FHandle);
}

void TUtilityWindow::DefaultHandler(TMessage& Message) const {
  Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TUtilityWindow::StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Self = BoundObject<TUtilityWindow>(Window, Msg, LParam);
  if (!Self) return DefWindowProcW(Window, Msg, WParam, LParam);
  if (!Self->FHandle) Self->FHandle = Window;
  TMessage Message{Msg, WParam, LParam, 0};
  try {
    Self->FHandler(*Self, Message);
  } catch (...) {
    Application().HandleException(Self->FSender);
  }
  return Message.Result;
}

}  // namespace tarnwick
