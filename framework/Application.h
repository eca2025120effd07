#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/UtilityWindow.h"

namespace tarnwick {

class TCustomForm;
class TApplicationEvents;

// The application: the message loop, the main form, the title, the error
// report, and the hidden top-level window that carries the program's
// taskbar entry. Forms are owned windows of it, so they have no entries of
// their own; the window is shown while the main form is and hidden with it.
class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Makes the application window.
  void Initialize();

  // Shown in the taskbar and as the error report's caption; "" at first.
  const std::wstring& Title() const { return FTitle; }
  void SetTitle(const std::wstring& Value);
  // The application window, made on first read.
  HWND Handle();

  // Makes a form owned by the application; the first one made becomes the
  // main form, whose window is made at once. Closing the main form ends Run.
  template <class TFormClass>
  TFormClass* CreateForm() {
    auto* Form = new TFormClass(this);
    if (!FMainForm) SetMainForm(Form);
    return Form;
  }
  TCustomForm* MainForm() const { return FMainForm; }
  // Whether Run shows the main form first; true by default.
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }

  // Shows the main form when asked to, then handles messages until
  // Terminate.
  void Run();
  // Ends Run once the messages already queued are handled.
  void Terminate();
  // Handles one message as Run does: Tab moves the focus through a form's
  // controls; anything else is translated and dispatched.
  void Dispatch(const MSG& Msg);

  // Reports the exception being handled (call it inside a catch block) in
  // the standard error report. Never raises.
  void HandleException(TObject* Sender) noexcept;
  // The standard error report for E: its message, the title, the error icon.
  void ShowException(const std::exception& E);

  // The application was minimised: tells every TApplicationEvents.
  void Minimize();

  // The program's taskbar entry: shown without taking the focus, hidden, or
  // restored after a minimise hid it. Every part of the program that moves
  // the entry goes through these.
  void ShowTaskbarEntry();
  void HideTaskbarEntry();
  void RestoreTaskbarEntry();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TApplicationEvents;
  void SetMainForm(TCustomForm* Form);
  bool HandleTabKey(const MSG& Msg);
  void ApplicationWndProc(TUtilityWindow& Window, TMessage& Message);

  std::wstring FTitle;
  TCustomForm* FMainForm = nullptr;
  bool FShowMainForm = true;
  bool FTerminated = false;
  std::unique_ptr<TUtilityWindow> FWindow;
  std::vector<TApplicationEvents*> FEvents;
};

// The process's application object.
TApplication& Application();

}  // namespace tarnwick
