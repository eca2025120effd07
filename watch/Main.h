#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/ApplicationEvents.h"
#include "framework/ComboBox.h"
#include "hooks/DROPDST.h"
#include "shell/Desktop.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/GroupBox.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/RadioGroup.h"
#include "framework/Timer.h"

namespace tarnwick {

class TSplashForm;

// The settings window and the program's main window. Its controls hold the
// settings while the program runs; its timer drives the pointer watch
// (idle countdown, popup, monitor-crossing sound) while it is hidden.
// Creating it reads the settings file in the data folder, closing it
// writes the file.
class TMainForm : public TForm {
 public:
  explicit TMainForm(TComponent* AOwner);

  TGroupBox* GroupBoxTime;
  TGroupBox* GroupBox4;
  TComboBox* ComboBoxCursor;
  TGroupBox* GroupBox2;
  TComboBox* ComboBoxSplash;
  TGroupBox* GroupBoxWav;
  TRadioGroup* RadioGroupWav;
  TEdit* EditWav;
  TGroupBox* GroupBoxPic;
  TRadioGroup* RadioGroupSize;
  TLabel* LabelPicture;
  TImage* Image;
  TImage* ImageDef;
  TTimer* Timer;
  TDropDst* DropDst;
  TApplicationEvents* ApplicationEvents;

  // A popup is alive; its creation sets it and its closing clears it.
  bool FSplashShow = false;
  // The pointer seen at the last tick that sampled it.
  TPoint MCursorPosB;
  // Idle countdown in ticks; never negative.
  std::int32_t MWaitTimeC = 0;
  // The monitor the pointer was on at the last check; -1 while unknown.
  std::int32_t MMonNo = -1;

  // Asks the user a yes/no question; true for yes. A message box unless a
  // test puts an answer in its place.
  std::function<bool(const std::wstring& Question)> AskYesNo;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormHide(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void ApplicationEventsMinimize(TObject* Sender);
  // A second start's show request: shows the hidden window and brings it to
  // the foreground, or brings a visible one that is not in front forward.
  // Any other WM_COPYDATA is ignored.
  void WMCopyData(TMessage& Message);

  void TimerTimer(TObject* Sender);
  void ComboBoxCursorChange(TObject* Sender);

  void ImageMouseUp(TObject* Sender, TMouseButton Button, unsigned Shift, int X, int Y);
  void ImageDblClick(TObject* Sender);
  void DropDstFileDrop(TObject* Sender, const TStrings& Files, int X, int Y);
  void RadioGroupWavClick(TObject* Sender);

  // Creates, places and shows a popup of the current picture on the pointer.
  void ShowSplash();
  // Shows the picture the label names, or the built-in one (emptying the
  // label) when the name is no existing file of an accepted type. Raises
  // EPictureError for a damaged file; the previous picture then stays.
  void LoadPicture();
  // Plays the crossing sound when the pointer is on another monitor than at
  // the last check.
  void CheckMonitorChange();
  // A popup has closed: clears FSplashShow, and gives a visible settings
  // window its taskbar entry back.
  void SplashClosed();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void BuildLayout();
  void BindEvents();
  // Applies the stored settings to the controls; returns "First".
  bool ReadSettings();
  void WriteSettings();
  void ShowBuiltinPicture();
  void PlayModeSound();
  std::wstring SettingsFileName() const;

  friend struct TWatchProbe;
  // The newest popup while it lives; none otherwise.
  TSplashForm* FSplash = nullptr;
  // A log-off or shutdown is asking whether the window may close.
  bool FEndingSession = false;
};

}  // namespace tarnwick
