#include "watch/Main.h"

#include <windows.h>

#include <exception>

#include "framework/Application.h"
#include "shell/DataFolder.h"
#include "shell/MonitorList.h"
#include "watch/SettingsModel.h"
#include "watch/Splash.h"
#include "settings/XMLIniFiles.h"
#include "base/ScopeGuards.h"

// The settings window's life: reading the settings at creation, writing
// them when it may close, and the watcher switched with its visibility.
namespace tarnwick {

namespace {

// The face of the system's menu font, or none when the system will not say.
std::wstring MenuFontFace() {
  NONCLIENTMETRICSW Metrics{};
  Metrics.cbSize = sizeof Metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0)) return {};
  return Metrics.lfMenuFont.lfFaceName;
}

}  // namespace

std::wstring TMainForm::SettingsFileName() const { return DataFolder() + L"Tarnwick.xml"; }

void TMainForm::FormCreate(TObject*) {
  MMonNo = -1;
  // Listed here and on each display change, so that the tick's crossing
  // check neither enumerates the monitors nor allocates.
  SystemMonitors().Refresh();
  GroupBoxWav->SetEnabled(SystemMonitors().Count() > 1);
  if (const std::wstring Face = MenuFontFace(); !Face.empty()) Font().SetName(Face);
  ComboBoxCursor->SetItems(IdleTimeEntries());
  ComboBoxSplash->SetItems(LifetimeEntries());
  // A failure from here on leaves the window to be shown at start with the
  // watcher off, so that the user sees the report's cause.
  const bool First = ReadSettings();
  MWaitTimeC = IdleCountdownStart(ComboBoxCursor->ItemIndex());
  LoadPicture();
  Timer->SetInterval(1000);
  Application().SetShowMainForm(First);
  Timer->SetEnabled(!First);
}

bool TMainForm::ReadSettings() {
  TXMLIniFile Settings(SettingsFileName());
  Settings.OpenNode(L"/Config", true);
  ComboBoxCursor->SetItemIndex(Settings.ReadInteger(L"Cursor", 5));
  ComboBoxSplash->SetItemIndex(Settings.ReadInteger(L"Splash", 2));
  LabelPicture->SetCaption(Settings.ReadString(L"Picture", L""));
  RadioGroupSize->SetItemIndex(Settings.ReadInteger(L"Size", 1));
  const bool First = Settings.ReadBool(L"First", true);
  EditWav->SetText(Settings.ReadString(L"WavFile", L""));
  RadioGroupWav->SetItemIndex(Settings.ReadInteger(L"Wav", 0));
  Settings.CloseNode();
  return First;
}

void TMainForm::WriteSettings() {
  TXMLIniFile Settings(SettingsFileName());
  Settings.OpenNode(L"/Config", true);
  Settings.WriteInteger(L"Cursor", ComboBoxCursor->ItemIndex());
  Settings.WriteInteger(L"Splash", ComboBoxSplash->ItemIndex());
  Settings.WriteString(L"Picture", LabelPicture->Caption());
  Settings.WriteInteger(L"Size", RadioGroupSize->ItemIndex());
  Settings.WriteBool(L"First", false);
  Settings.WriteString(L"WavFile", EditWav->Text());
  Settings.WriteInteger(L"Wav", RadioGroupWav->ItemIndex());
  Settings.CloseNode();
  Settings.UpdateFile();
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
  try {
    WriteSettings();
  } catch (const std::exception& Error) {
    // No box while the session ends: nobody may be there to answer it.
    // Refusing lets the system's own shutdown screen offer to end anyway.
    if (FEndingSession) {
      CanClose = false;
      return;
    }
    Application().ShowException(Error);
    // A file that can never be saved must not keep the user from quitting;
    // quitting leaves the file as it is.
    CanClose = AskYesNo(L"設定を保存できませんでした。保存せずに終了しますか？");
  }
}

void TMainForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_COPYDATA) {
    WMCopyData(Message);
    return;
  }
  if (Message.Msg == WM_DISPLAYCHANGE) SystemMonitors().Refresh();
  if (Message.Msg != WM_QUERYENDSESSION) {
    TForm::WndProc(Message);
    return;
  }
  const TFlagScope EndingSession(FEndingSession);
  TForm::WndProc(Message);
}

void TMainForm::FormShow(TObject*) { Timer->SetEnabled(false); }

void TMainForm::FormHide(TObject*) { Timer->SetEnabled(true); }

void TMainForm::ApplicationEventsMinimize(TObject*) {
  Hide();
  Application().HideTaskbarEntry();
}

void TMainForm::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSplash) FSplash = nullptr;
}

}  // namespace tarnwick
