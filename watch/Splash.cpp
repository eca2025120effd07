#include "watch/Splash.h"

#include <windows.h>

#include <optional>

#include "framework/Application.h"
#include "watch/Main.h"
#include "watch/PopupFit.h"

namespace tarnwick {

TSplashForm::TSplashForm(TComponent* AOwner, TMainForm& Settings) : TForm(AOwner), FSettings(&Settings) {
  Pause = [](int Ms) { Sleep(static_cast<DWORD>(Ms)); };
  Settings.FreeNotification(this);
  // Its size is the picture's long side in screen pixels on every monitor.
  SetScaled(false);
  SetColor(clWhite);
  SetKeyPreview(true);
  Image = new TImage(this);
  Image->SetAlign(alClient);
  Image->SetStretch(true);
  Image->SetProportional(true);
  Image->SetCenter(true);
  Image->SetParent(this);
  Timer = new TTimer(this);
  Timer->SetEnabled(false);

  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnKeyPress = [this](TObject* Sender, wchar_t& Key) { FormKeyPress(Sender, Key); };
  OnMouseLeave = [this](TObject* Sender) { FormMouseLeave(Sender); };
  Image->OnClick = [this](TObject* Sender) { ImageClick(Sender); };
  Image->OnMouseLeave = [this](TObject* Sender) { ImageMouseLeave(Sender); };
  Timer->OnTimer = [this](TObject* Sender) { TimerTimer(Sender); };
  CompleteLoading();
}

void TSplashForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.WinClassName = L"TSplashForm";
}

void TSplashForm::FormCreate(TObject*) {
  FSettings->FSplashShow = true;
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  SetVisible(false);
  Timer->SetEnabled(false);
}

void TSplashForm::FormShow(TObject*) {
  // The program's taskbar entry goes while a popup is up.
  Application().HideTaskbarEntry();
  SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TSplashForm::CentreOn(TPoint Point) {
  const TPoint TopLeft = CentredTopLeft(Point, Width(), Height());
  SetBounds(TopLeft.X, TopLeft.Y, Width(), Height());
}

void TSplashForm::FormKeyPress(TObject*, wchar_t&) { CloseSplash(); }

void TSplashForm::FormMouseLeave(TObject*) { CloseSplash(); }

void TSplashForm::ImageClick(TObject*) { CloseSplash(); }

void TSplashForm::TimerTimer(TObject*) { CloseSplash(); }

void TSplashForm::ImageMouseLeave(TObject*) {
  // Hiding the popup under the pointer reports a leave too: no following then.
  if (FClosed) return;
  if (FWait)
    CloseSplash();
  else
    FollowCursor();
}

void TSplashForm::FollowCursor() {
  for (int Counter = 250 / 25; Counter >= 0; --Counter) {
    // A pointer the system will not tell leaves the popup where it is.
    if (const std::optional<TPoint> Pointer = Desktop().CursorPos()) CentreOn(*Pointer);
    Pause(25);
  }
  FWait = true;
}

void TSplashForm::CloseSplash() {
  // A second dismissal already queued (a tick after a click) must not
  // release the popup twice.
  if (FClosed) return;
  FClosed = true;
  FWait = false;
  Timer->SetEnabled(false);
  Close();
  Release();
  if (FSettings) FSettings->SplashClosed();
}

void TSplashForm::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSettings) FSettings = nullptr;
}

}  // namespace tarnwick
