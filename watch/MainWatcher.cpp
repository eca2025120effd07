#include <windows.h>

#include <optional>

#include "framework/Application.h"
#include "watch/Main.h"
#include "watch/PictureChoice.h"
#include "watch/PopupFit.h"
#include "watch/SettingsModel.h"
#include "watch/Splash.h"

// The idle watcher: a one-second tick that counts stillness down and shows
// the popup on the first movement after it.
namespace tarnwick {

void TMainForm::TimerTimer(TObject*) {
  CheckMonitorChange();
  if (FSplashShow) {
    MWaitTimeC = IdleCountdownStart(ComboBoxCursor->ItemIndex());
    return;
  }
  const std::optional<TPoint> Pointer = Desktop().CursorPos();
  // A pointer the system will not tell (another desktop has the input) is
  // neither still nor moving: the tick waits for the next sample.
  if (!Pointer) return;
  if (*Pointer == MCursorPosB) {
    if (MWaitTimeC > 0) --MWaitTimeC;
    return;
  }
  MCursorPosB = *Pointer;
  if (MWaitTimeC < 1) ShowSplash();
  MWaitTimeC = IdleCountdownStart(ComboBoxCursor->ItemIndex());
}

void TMainForm::ComboBoxCursorChange(TObject*) { MWaitTimeC = IdleCountdownStart(ComboBoxCursor->ItemIndex()); }

void TMainForm::ShowSplash() {
  // Without a fresh sample the popup goes where the pointer was last seen.
  const TPoint Pointer = Desktop().CursorPos().value_or(MCursorPosB);
  auto* Splash = new TSplashForm(&Application(), *this);
  // The popup's link to this window clears the slot when the popup goes.
  FSplash = Splash;
  try {
    Splash->Image->SetPicture(Image->SharedPicture());
    if (IsGifName(LabelPicture->Caption())) Splash->Image->SetAnimate(true);
    const TPicture& Shown = Splash->Image->GetPicture();
    const TPopupSize Size =
        FitToLongSide(Shown.NominalWidth, Shown.NominalHeight, PopupLongSide(RadioGroupSize->ItemIndex()));
    Splash->SetHeight(Size.Height);
    Splash->SetWidth(Size.Width);
    Splash->CentreOn(Pointer);
    Splash->SetVisible(true);
    Splash->CentreOn(Desktop().CursorPos().value_or(Pointer));
    Splash->Timer->SetInterval(static_cast<unsigned>(PopupLifetimeMs(ComboBoxSplash->ItemIndex())));
    Splash->Timer->SetEnabled(true);
  } catch (...) {
    // A popup that never showed must not hold the watcher: it goes at once,
    // before the error is reported, and the next movement tries again.
    delete Splash;
    SplashClosed();
    throw;
  }
}

void TMainForm::SplashClosed() {
  FSplashShow = false;
  // The popup took the taskbar entry away; an open settings window needs it
  // back, or it could be lost behind other programs.
  if (Visible()) Application().ShowTaskbarEntry();
}

}  // namespace tarnwick
