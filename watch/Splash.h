#pragma once

#include <functional>

#include "shell/Desktop.h"
#include "framework/Form.h"
#include "framework/Image.h"
#include "framework/Timer.h"

namespace tarnwick {

class TMainForm;

// The locator popup: a borderless topmost window showing a copy of the
// settings window's picture around the pointer. It closes at the end of its
// lifetime, on a key, a click or when the pointer leaves it; the first leave
// of the picture makes it follow the pointer instead. It tells the settings
// window that it lives through FSplashShow and frees itself after closing.
class TSplashForm : public TForm {
 public:
  TSplashForm(TComponent* AOwner, TMainForm& Settings);

  TImage* Image;
  TTimer* Timer;

  // Holds the thread for Ms milliseconds between two follow steps; Sleep
  // unless a test puts another in its place.
  std::function<void(int Ms)> Pause;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormKeyPress(TObject* Sender, wchar_t& Key);
  void FormMouseLeave(TObject* Sender);
  void ImageClick(TObject* Sender);
  void ImageMouseLeave(TObject* Sender);
  void TimerTimer(TObject* Sender);

  // Re-centres the popup on the pointer 11 times, 25 ms apart; the next
  // leave of the picture then closes it.
  void FollowCursor();
  // Hides the popup, frees it once its queued messages are handled and
  // clears FSplashShow. Later calls do nothing.
  void CloseSplash();
  // Moves the popup so that it is centred on Point, keeping its size.
  void CentreOn(TPoint Point);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend struct TWatchProbe;
  TMainForm* FSettings;
  // Has followed the pointer once.
  bool FWait = false;
  bool FClosed = false;
};

}  // namespace tarnwick
