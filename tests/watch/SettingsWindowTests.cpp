#include <windows.h>

#include <memory>

#include "Dpi.h"
#include "WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::WatchTest;

namespace {

using SettingsWindowTest = WatchTest;

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::wstring MenuFontFace() {
  NONCLIENTMETRICSW Metrics{};
  Metrics.cbSize = sizeof Metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0);
  return Metrics.lfMenuFont.lfFaceName;
}

TEST_F(SettingsWindowTest, TheWindowIsFoundByClassAndCaptionAndKeepsItsLayout) {
  TMainForm& Main = Form();
  wchar_t ClassName[32]{};
  GetClassNameW(Main.Handle(), ClassName, 32);
  EXPECT_EQ(std::wstring(ClassName), L"TMainForm");
  EXPECT_EQ(Main.Caption(), L"Tarnwick");
  const LONG_PTR Style = GetWindowLongPtrW(Main.Handle(), GWL_STYLE);
  EXPECT_EQ(Style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU | WS_MINIMIZEBOX);

  const int Dpi = Main.CurrentDpi();
  EXPECT_EQ(Main.ClientWidth(), ScaleFromDesign(368, Dpi));
  EXPECT_EQ(Main.ClientHeight(), ScaleFromDesign(304, Dpi));
  EXPECT_EQ(Main.GroupBoxTime->Height(), ScaleFromDesign(63, Dpi));
  EXPECT_EQ(Main.GroupBoxWav->Height(), ScaleFromDesign(100, Dpi));
  EXPECT_EQ(Main.GroupBox4->Width(), ScaleFromDesign(181, Dpi));
  EXPECT_EQ(Main.RadioGroupSize->Width(), ScaleFromDesign(94, Dpi));
  // The picture group fills the band between the other two.
  EXPECT_EQ(Main.GroupBoxPic->Top(), Main.GroupBoxTime->Height());
  EXPECT_EQ(Main.GroupBoxPic->Top() + Main.GroupBoxPic->Height(), Main.GroupBoxWav->Top());
  EXPECT_EQ(Main.RadioGroupWav->Items(), (TStrings{L"なし", L"内蔵音声", L"指定"}));
  EXPECT_EQ(Main.RadioGroupSize->Items(), (TStrings{L"大", L"中", L"小"}));
  EXPECT_EQ(Main.Font().Name(), MenuFontFace());
}

TEST_F(SettingsWindowTest, WithoutAFileTheDefaultsApplyAndClosingWritesTheSevenKeys) {
  TMainForm& Main = Form();
  EXPECT_TRUE(std::filesystem::exists(SettingsFile()));
  EXPECT_EQ(Main.ComboBoxCursor->ItemIndex(), 5);
  EXPECT_EQ(Main.ComboBoxCursor->Items()[5], L"60秒");
  EXPECT_EQ(Main.ComboBoxSplash->ItemIndex(), 2);
  EXPECT_EQ(Main.LabelPicture->Caption(), L"");
  EXPECT_EQ(Main.RadioGroupSize->ItemIndex(), 1);
  EXPECT_EQ(Main.EditWav->Text(), L"");
  EXPECT_EQ(Main.RadioGroupWav->ItemIndex(), 0);
  EXPECT_EQ(Main.MWaitTimeC, 60);
  EXPECT_EQ(Main.MMonNo, -1);
  // A first run: shown at start, the watcher off.
  EXPECT_TRUE(Application().ShowMainForm());
  EXPECT_FALSE(Main.Timer->Enabled());
  EXPECT_EQ(Main.Timer->Interval(), 1000u);

  EXPECT_TRUE(Main.CloseQuery());
  EXPECT_EQ(ReadBytes(SettingsFile()), Declaration +
                                           "<root>\n"
                                           "\t<Config>\n"
                                           "\t\t<Cursor Type=\"9\">5</Cursor>\n"
                                           "\t\t<Splash Type=\"9\">2</Splash>\n"
                                           "\t\t<Picture Type=\"10\"></Picture>\n"
                                           "\t\t<Size Type=\"9\">1</Size>\n"
                                           "\t\t<First Type=\"2\">0</First>\n"
                                           "\t\t<WavFile Type=\"10\"></WavFile>\n"
                                           "\t\t<Wav Type=\"9\">0</Wav>\n"
                                           "\t</Config>\n"
                                           "</root>\n");
}

TEST_F(SettingsWindowTest, ALaterRunStartsHiddenWithTheWatcherOn) {
  WriteSettings("<First Type=\"2\">0</First>");
  TMainForm& Main = Form();
  EXPECT_FALSE(Application().ShowMainForm());
  EXPECT_TRUE(Main.Timer->Enabled());
  EXPECT_EQ(Main.ComboBoxCursor->ItemIndex(), 5);
}

TEST_F(SettingsWindowTest, StoredIndexesOutsideTheListsFollowTheNoSelectionRules) {
  const struct {
    const char* Stored;
    int Cursor, Splash, Size, Wav;
  } Cases[] = {
      {"<Cursor Type=\"9\">30</Cursor><Splash Type=\"9\">10</Splash><Size Type=\"9\">7</Size><Wav Type=\"9\">3</Wav>",
       -1, -1, 2, 2},
      {"<Cursor Type=\"9\">-1</Cursor><Splash Type=\"9\">-3</Splash><Size Type=\"9\">-5</Size><Wav Type=\"9\">-2</Wav>",
       -1, -1, -1, -1},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Stored);
    WriteSettings(Case.Stored);
    std::unique_ptr<TMainForm> Main(Application().CreateForm<TMainForm>());
    EXPECT_EQ(Main->ComboBoxCursor->ItemIndex(), Case.Cursor);
    EXPECT_EQ(Main->ComboBoxSplash->ItemIndex(), Case.Splash);
    EXPECT_EQ(Main->RadioGroupSize->ItemIndex(), Case.Size);
    EXPECT_EQ(Main->RadioGroupWav->ItemIndex(), Case.Wav);
    EXPECT_EQ(Main->MWaitTimeC, 0);
    // What the controls hold is saved, -1 included.
    EXPECT_TRUE(Main->CloseQuery());
    std::unique_ptr<TMainForm> Again(Application().CreateForm<TMainForm>());
    EXPECT_EQ(Again->ComboBoxCursor->ItemIndex(), Case.Cursor);
    EXPECT_EQ(Again->RadioGroupSize->ItemIndex(), Case.Size);
    EXPECT_EQ(Again->RadioGroupWav->ItemIndex(), Case.Wav);
  }
}

TEST_F(SettingsWindowTest, AStoredPictureThatIsGoneIsForgotten) {
  WriteSettings("<Picture Type=\"10\">C:\\gone\\cat.jpg</Picture><First Type=\"2\">0</First>");
  EXPECT_EQ(Form().LabelPicture->Caption(), L"");
  EXPECT_EQ(Form().Image->GetPicture().NominalWidth, 250);
}

TEST_F(SettingsWindowTest, AValueThatCannotBeReadIsReportedAndTheWindowShownWithTheWatcherOff) {
  const std::string Stored = "<Cursor Type=\"9\">3</Cursor><Splash Type=\"9\">x</Splash><First Type=\"2\">0</First>";
  WriteSettings(Stored);
  const std::string Before = ReadBytes(SettingsFile());
  TMainForm& Main = Form();
  EXPECT_EQ(Desk.ErrorReports.size(), 1u);
  Desk.ErrorReports.clear();
  EXPECT_EQ(Main.ComboBoxCursor->ItemIndex(), 3);  // applied before the failure
  EXPECT_EQ(Main.ComboBoxSplash->ItemIndex(), -1);
  EXPECT_EQ(Main.MWaitTimeC, 0);
  EXPECT_TRUE(Application().ShowMainForm());
  EXPECT_FALSE(Main.Timer->Enabled());
  EXPECT_EQ(ReadBytes(SettingsFile()), Before);
}

class UnsavableSettingsTest : public WatchTest {
 protected:
  UnsavableSettingsTest() { WriteBytes(SettingsFile(), Damaged); }

  // The window of a damaged file, its creation's report taken out.
  TMainForm& DamagedForm() {
    TMainForm& Main = Form();
    Desk.ErrorReports.clear();
    Main.AskYesNo = [this](const std::wstring& Question) {
      Questions.push_back(Question);
      return Answer;
    };
    return Main;
  }

  const std::string Damaged = "<root><Config>";
  std::vector<std::wstring> Questions;
  bool Answer = false;
};

TEST_F(UnsavableSettingsTest, ClosingReportsAndAsksAndNeverTouchesTheFile) {
  TMainForm& Main = DamagedForm();
  EXPECT_FALSE(Main.CloseQuery());
  EXPECT_EQ(Desk.ErrorReports.size(), 1u);
  EXPECT_EQ(Questions, std::vector<std::wstring>{L"設定を保存できませんでした。保存せずに終了しますか？"});
  Answer = true;
  EXPECT_TRUE(Main.CloseQuery());
  EXPECT_EQ(Desk.ErrorReports.size(), 2u);
  Desk.ErrorReports.clear();
  EXPECT_EQ(ReadBytes(SettingsFile()), Damaged);
}

TEST_F(UnsavableSettingsTest, ALogOffIsRefusedWithoutABox) {
  TMainForm& Main = DamagedForm();
  EXPECT_EQ(SendMessageW(Main.Handle(), WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_TRUE(Desk.ErrorReports.empty());
  EXPECT_TRUE(Questions.empty());
  EXPECT_EQ(ReadBytes(SettingsFile()), Damaged);
}

TEST_F(SettingsWindowTest, ShowingStopsTheWatcherAndMinimisingHidesAndRestartsIt) {
  TMainForm& Main = Form();
  Main.MWaitTimeC = 17;
  Main.SetVisible(true);
  EXPECT_FALSE(Main.Timer->Enabled());
  Main.ApplicationEventsMinimize(nullptr);
  EXPECT_FALSE(IsWindowVisible(Main.Handle()));
  EXPECT_FALSE(IsWindowVisible(Application().Handle()));
  EXPECT_TRUE(Main.Timer->Running());
  EXPECT_EQ(Main.MWaitTimeC, 17);
}

}  // namespace
