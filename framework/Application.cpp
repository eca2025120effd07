#include "framework/Application.h"

#include <algorithm>

#include "framework/ApplicationEvents.h"
#include "shell/Desktop.h"
#include "framework/ErrorReport.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "base/Utf.h"

namespace tarnwick {

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  // Forms are owned windows of the application window: they go first.
  while (!Components().empty()) delete Components().back();
  FWindow.reset();
}

// Nothing in the program uses COM, so it is not prepared: ole32 and its
// companions would only add to the resident memory of an idle program.
void TApplication::Initialize() {
  Handle();
}

void TApplication::SetTitle(const std::wstring& Value) {
  FTitle = Value;
  if (FWindow) SetWindowTextW(FWindow->Handle(), FTitle.c_str());
}

HWND TApplication::Handle() {
  if (!FWindow) {
    const DWORD Style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
    FWindow = std::make_unique<TUtilityWindow>(
        this, [this](TUtilityWindow& Window, TMessage& Message) { ApplicationWndProc(Window, Message); }, Style,
        FTitle.c_str());
  }
  return FWindow->Handle();
}

void TApplication::ApplicationWndProc(TUtilityWindow& Window, TMessage& Message) {
  switch (Message.Msg) {
    case WM_SYSCOMMAND:
      if ((Message.WParam & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return;
      }
      break;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return;
    default:
      break;
  }
  Window.DefaultHandler(Message);
}

void TApplication::SetMainForm(TCustomForm* Form) {
  Form->HandleNeeded();
  FMainForm = Form;
  Form->FreeNotification(this);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

void TApplication::Run() {
  FTerminated = false;
  if (FMainForm && FShowMainForm) FMainForm->SetVisible(true);
  while (!FTerminated) {
    MSG Msg;
    if (GetMessageW(&Msg, nullptr, 0, 0) <= 0) break;
    Dispatch(Msg);
  }
  FTerminated = true;
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::Dispatch(const MSG& Msg) {
  if (HandleTabKey(Msg)) return;
  TranslateMessage(&Msg);
  DispatchMessageW(&Msg);
}

// Tab in a form or a control of one moves the focus on through the form's
// controls; in a form without any it is a key like any other.
bool TApplication::HandleTabKey(const MSG& Msg) {
  if (Msg.message != WM_KEYDOWN || Msg.wParam != VK_TAB) return false;
  TWinControl* Control = nullptr;
  // A window that is no control of ours (a radio button) speaks for the
  // control it sits in.
  for (HWND Window = Msg.hwnd; Window && !Control; Window = GetParent(Window))
    Control = TWinControl::FromHandle(Window);
  if (!Control) return false;
  auto* Form = dynamic_cast<TCustomForm*>(Control);
  if (!Form) Form = GetParentForm(Control);
  return Form && Form->SelectNext(Control, GetKeyState(VK_SHIFT) >= 0);
}

void TApplication::HandleException(TObject*) noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& E) {
      ShowException(E);
    } catch (...) {
      ShowException(Exception("不明なエラーが発生しました"));
    }
  } catch (...) {
    // The report itself failed (out of memory, say); the program runs on
    // rather than ending here.
  }
}

void TApplication::ShowException(const std::exception& E) {
  Desktop().ShowErrorReport(ErrorReportText(FromUtf8(E.what())), FTitle);
}

void TApplication::Minimize() {
  // A copy: a handler may free a relay.
  const std::vector<TApplicationEvents*> Relays = FEvents;
  for (TApplicationEvents* Relay : Relays)
    if (Relay->OnMinimize) Relay->OnMinimize(Relay);
}

void TApplication::ShowTaskbarEntry() { ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

void TApplication::HideTaskbarEntry() { ShowWindow(Handle(), SW_HIDE); }

void TApplication::RestoreTaskbarEntry() { ShowWindow(Handle(), SW_RESTORE); }

TApplication& Application() {
  static TApplication Instance;
  return Instance;
}

}  // namespace tarnwick
