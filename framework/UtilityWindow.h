#pragma once

#include <windows.h>

#include <functional>

#include "framework/Message.h"
#include "framework/Object.h"

namespace tarnwick {

// A window that is no control: it only hands its messages to Handler,
// which answers them or passes them to DefaultHandler. An exception that
// leaves Handler goes to the application's error report with Sender.
class TUtilityWindow {
 public:
  using THandler = std::function<void(TUtilityWindow& Window, TMessage& Message)>;

  // A message-only window, unless Style makes a top-level one. Raises
  // Exception when the system refuses to make it.
  TUtilityWindow(TObject* Sender, THandler Handler, DWORD Style = 0, const wchar_t* Title = L"");
  ~TUtilityWindow();
  TUtilityWindow(const TUtilityWindow&) = delete;
  TUtilityWindow& operator=(const TUtilityWindow&) = delete;

  HWND Handle() const { return FHandle; }
  void DefaultHandler(TMessage& Message) const;

 private:
  static LRESULT CALLBACK StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

  TObject* FSender;
  THandler FHandler;
  HWND FHandle = nullptr;
};

}  // namespace tarnwick
