#include <windows.h>

#include <memory>

#include "framework/Dpi.h"
#include "tests/settings/FirstRunSettingsFile.h"
#include "base/Utf.h"
#include "tests/watch/WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::WatchTest;

namespace {

using SettingsWindowTest = WatchTest;
using tarnwick::testing::TimerRunning;
using tarnwick::testing::CurrentDpi;
using tarnwick::testing::NewestSplash;

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

  const int Dpi = CurrentDpi(Main);
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
  EXPECT_EQ(ReadBytes(SettingsFile()), FirstRunSettingsFile);
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

// A log-off query that ends in an exception the save does not catch is over
// all the same: a later close reports and asks as any close does.
TEST_F(UnsavableSettingsTest, ALogOffQueryThatRaisesLeavesLaterClosesAsking) {
  TMainForm& Main = DamagedForm();
  const TCloseQueryEvent Saving = Main.OnCloseQuery;
  Main.OnCloseQuery = [&Saving](TObject* Sender, bool& CanClose) {
    Saving(Sender, CanClose);
    throw 0;
  };
  SendMessageW(Main.Handle(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_EQ(Desk.ErrorReports.size(), 1u);  // the exception, reported by the window
  EXPECT_TRUE(Questions.empty());
  Main.OnCloseQuery = Saving;
  Desk.ErrorReports.clear();
  EXPECT_FALSE(Main.CloseQuery());
  EXPECT_EQ(Desk.ErrorReports.size(), 1u);
  EXPECT_EQ(Questions.size(), 1u);
  Desk.ErrorReports.clear();
}

TEST_F(SettingsWindowTest, ShowingStopsTheWatcherAndMinimisingHidesAndRestartsIt) {
  TMainForm& Main = Form();
  Main.MWaitTimeC = 17;
  Main.SetVisible(true);
  EXPECT_FALSE(Main.Timer->Enabled());
  Main.ApplicationEventsMinimize(nullptr);
  EXPECT_FALSE(IsWindowVisible(Main.Handle()));
  EXPECT_FALSE(IsWindowVisible(Application().Handle()));
  EXPECT_TRUE(TimerRunning(*Main.Timer));
  EXPECT_EQ(Main.MWaitTimeC, 17);
}

}  // namespace

namespace {

// Sends Main the show request a second start sends.
void SendShowRequest(TMainForm& Main) {
  char16_t Text[] = u"/Show\0";
  COPYDATASTRUCT Data{0, sizeof Text, Text};
  SendMessageW(Main.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&Data));
}

TEST_F(SettingsWindowTest, ShowingALaterRunsWindowStopsTheWatcherHoweverItIsShown) {
  WriteSettings("<First Type=\"2\">0</First>");
  const struct {
    const char* Way;
    void (*Show)(TMainForm&);
  } Ways[] = {
      {"shown", [](TMainForm& Main) { Main.Show(); }},
      {"show request", SendShowRequest},
  };
  for (const auto& Way : Ways) {
    SCOPED_TRACE(Way.Way);
    std::unique_ptr<TMainForm> Main(Application().CreateForm<TMainForm>());
    ASSERT_TRUE(TimerRunning(*Main->Timer));
    Way.Show(*Main);
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));
    EXPECT_FALSE(TimerRunning(*Main->Timer));
  }
}

TEST_F(SettingsWindowTest, AShowRequestBringsAnOpenWindowForwardOnlyWhenItIsNotInFront) {
  TMainForm& Main = Form();
  Main.Show();
  const auto Own = reinterpret_cast<WindowHandle>(Main.Handle());
  Desk.Foreground = Own;
  SendShowRequest(Main);
  EXPECT_TRUE(Desk.ForegroundCalls.empty());
  // Covered by another program: the user asks for the window again.
  Desk.Foreground = Own + 4;
  SendShowRequest(Main);
  EXPECT_EQ(Desk.Foreground, Own);
}

TEST_F(SettingsWindowTest, ALogOffQuerySavesAndAgrees) {
  TMainForm& Main = Form();
  Main.ComboBoxCursor->SetItemIndex(3);
  EXPECT_NE(SendMessageW(Main.Handle(), WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_NE(ReadBytes(SettingsFile()).find("<Cursor Type=\"9\">3</Cursor>"), std::string::npos);
}

TEST_F(SettingsWindowTest, APictureThatFailsAtStartShowsTheWindowWithTheWatcherOff) {
  const std::wstring Damaged = Temp.File(L"damaged.png");
  WriteBytes(Damaged, "\x89PNG\r\n\x1a\n not a picture");
  Desk.AddFile(Damaged);
  WriteSettings("<Picture Type=\"10\">" + ToUtf8(Damaged) + "</Picture><First Type=\"2\">0</First>");
  TMainForm& Main = Form();
  EXPECT_EQ(Desk.ErrorReports.size(), 1u);
  Desk.ErrorReports.clear();
  EXPECT_TRUE(Application().ShowMainForm());
  EXPECT_FALSE(Main.Timer->Enabled());
  EXPECT_EQ(Main.Timer->Interval(), 1000u);
}

TEST_F(SettingsWindowTest, ClosingAPreviewGivesTheOpenWindowItsTaskbarEntryBack) {
  TMainForm& Main = Form();
  Main.Show();
  ASSERT_TRUE(IsWindowVisible(Application().Handle()));
  Desk.Cursor = TPoint{300, 300};
  Main.ImageDblClick(nullptr);
  EXPECT_FALSE(IsWindowVisible(Application().Handle()));
  NewestSplash(Main)->CloseSplash();
  EXPECT_TRUE(IsWindowVisible(Application().Handle()));

  // Hidden, the window has no taskbar entry to get back.
  Main.ApplicationEventsMinimize(nullptr);
  Main.ShowSplash();
  NewestSplash(Main)->CloseSplash();
  EXPECT_FALSE(IsWindowVisible(Application().Handle()));
}

TEST_F(SettingsWindowTest, TheShownWindowFocusesItsFirstControlAndGetsTheFocusBackAfterAPreview) {
  TMainForm& Main = Form();
  Main.Show();
  // The size buttons come first in tab order; the checked one takes it.
  EXPECT_EQ(GetFocus(), FindWindowExW(Main.RadioGroupSize->Handle(), nullptr, L"Button", L"中"));
  Main.ComboBoxCursor->SetFocus();
  Desk.Cursor = TPoint{300, 300};
  Main.ImageDblClick(nullptr);
  EXPECT_EQ(GetFocus(), NewestSplash(Main)->Handle());
  NewestSplash(Main)->CloseSplash();
  EXPECT_EQ(GetActiveWindow(), Main.Handle());
  EXPECT_EQ(GetFocus(), Main.ComboBoxCursor->Handle());
}

}  // namespace
