#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "shell/DataFolder.h"
#include "watch/Main.h"
#include "watch/Splash.h"
#include "tests/settings/TempFolder.h"
#include "tests/framework/TestSupport.h"

namespace tarnwick {

// The friend of the watch's forms that reads their state for the tests.
struct TWatchProbe {
  static TSplashForm* NewestSplash(const TMainForm& Main) { return Main.FSplash; }
  static bool Waiting(const TSplashForm& Splash) { return Splash.FWait; }
};

}  // namespace tarnwick

namespace tarnwick::testing {

// The newest popup of Main while it lives; none otherwise.
inline TSplashForm* NewestSplash(const TMainForm& Main) { return TWatchProbe::NewestSplash(Main); }
// Whether Splash has followed the pointer once.
inline bool Waiting(const TSplashForm& Splash) { return TWatchProbe::Waiting(Splash); }

// A settings window made as the program makes it, on the scripted desktop
// (one 1920 × 1080 monitor unless the test adds more before Form()), with
// the data folder in a fresh temporary folder.
class WatchTest : public ::testing::Test {
 protected:
  WatchTest() {
    Desk.SpecialFolders[0x1A] = Temp.Path().wstring();  // the roaming application data
    Desk.AddFolder(Temp.Path().wstring());
    std::filesystem::create_directories(Temp.Path() / "Fellmoor" / "Tarnwick");
    PrepareDataFolder(L"Tarnwick", false);
    // As at program start: a form whose creation fails is shown.
    Application().SetShowMainForm(true);
  }

  // A test that expects error reports takes them out of Desk.ErrorReports.
  void TearDown() override {
    EXPECT_TRUE(Desk.ErrorReports.empty()) << "unexpected error report";
  }

  ~WatchTest() override {
    ProcessMessages();
    for (TSplashForm* Splash : LivePopups()) delete Splash;
    delete FForm;
    ResetDataFolders();
  }

  // The settings window, made on first use.
  TMainForm& Form() {
    if (Desk.MonitorList.empty()) Desk.AddMonitor({0, 0, 1920, 1080});
    if (!FForm) FForm = Application().CreateForm<TMainForm>();
    return *FForm;
  }

  std::filesystem::path SettingsFile() const { return Temp.Path() / "Fellmoor" / "Tarnwick" / "Tarnwick.xml"; }

  // Writes a settings file holding the given keys of "/Config" (XML text).
  void WriteSettings(const std::string& ConfigKeys) {
    WriteBytes(SettingsFile(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root><Config>" + ConfigKeys +
                                   "</Config></root>\n");
  }

  // The popups not yet freed.
  static std::vector<TSplashForm*> LivePopups() {
    std::vector<TSplashForm*> Popups;
    for (TComponent* Component : Application().Components())
      if (auto* Splash = dynamic_cast<TSplashForm*>(Component)) Popups.push_back(Splash);
    return Popups;
  }

  // Moves the scripted pointer and runs one watcher tick.
  void TickAt(TPoint Pointer) {
    Desk.Cursor = Pointer;
    Form().TimerTimer(nullptr);
  }

  TempFolder Temp;
  RecordingDesktop Desk;
  TDesktopOverride Override{Desk};

 private:
  TMainForm* FForm = nullptr;
};

}  // namespace tarnwick::testing
