#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Application.h"
#include "framework/ErrorReport.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "tests/framework/TestSupport.h"
#include "framework/Timer.h"

using namespace tarnwick;
using tarnwick::testing::PumpUntil;
using tarnwick::testing::RecordingDesktop;
using tarnwick::testing::ProcessMessages;
using tarnwick::testing::TimerRunning;

namespace {

TEST(ErrorReportText, AppendsAFullStopAfterACharacterAboveIt) {
  const struct {
    const wchar_t* Message;
    const wchar_t* Text;
  } Cases[] = {
      {L"abc", L"abc."},
      {L"abc.", L"abc."},
      {L"abc!", L"abc!"},
      {L"abc-", L"abc-"},
      {L"", L""},
      {L"フック先を特定できません。", L"フック先を特定できません。."},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ErrorReportText(Case.Message), Case.Text) << Case.Message;
}

TEST(Application, InitializeMakesATitledApplicationWindow) {
  wchar_t Title[32] = {};
  GetWindowTextW(Application().Handle(), Title, 32);
  EXPECT_STREQ(Title, L"Tarnwick");
  EXPECT_EQ(GetParent(Application().Handle()), nullptr);
}

class ApplicationTest : public ::testing::Test {
 protected:
  RecordingDesktop Desktop;
  TDesktopOverride Override{Desktop};
};

TEST_F(ApplicationTest, HandleExceptionShowsTheMessageWithTheTitleAsCaption) {
  try {
    throw std::runtime_error("\xE7\x94\xBB\xE5\x83\x8F");  // 画像, in UTF-8
  } catch (...) {
    Application().HandleException(nullptr);
  }
  ASSERT_EQ(Desktop.ErrorReports.size(), 1u);
  EXPECT_EQ(Desktop.ErrorReports[0].Text, L"画像.");
  EXPECT_EQ(Desktop.ErrorReports[0].Caption, L"Tarnwick");
}

constexpr UINT WM_FAIL = WM_APP + 1;
constexpr UINT WM_COUNT = WM_APP + 2;

class TFailingForm : public TForm {
 public:
  using TForm::TForm;
  int Counted = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_FAIL) throw Exception("handler failed");
    if (Message.Msg == WM_COUNT) ++Counted;
    TForm::WndProc(Message);
  }
};

TEST_F(ApplicationTest, AnErrorInAMessageHandlerIsReportedAndTheLoopRunsOn) {
  TFailingForm Form(nullptr);
  PostMessageW(Form.Handle(), WM_FAIL, 0, 0);
  PostMessageW(Form.Handle(), WM_COUNT, 0, 0);
  ProcessMessages();
  ASSERT_EQ(Desktop.ErrorReports.size(), 1u);
  EXPECT_EQ(Desktop.ErrorReports[0].Text, L"handler failed.");
  EXPECT_EQ(Form.Counted, 1);
}

TEST_F(ApplicationTest, AnErrorInATimerTickIsReportedAndTheTimerKeepsRunning) {
  TTimer Timer(nullptr);
  Timer.SetInterval(20);
  int Ticks = 0;
  Timer.OnTimer = [&](TObject*) {
    ++Ticks;
    throw Exception("tick failed");
  };
  ASSERT_TRUE(PumpUntil([&] { return Ticks >= 2; }));
  EXPECT_EQ(Desktop.ErrorReports.size(), static_cast<std::size_t>(Ticks));
  EXPECT_TRUE(TimerRunning(Timer));
}

TEST_F(ApplicationTest, RunHandlesMessagesUntilTheMainFormCloses) {
  auto* Form = Application().CreateForm<TForm>();
  ASSERT_EQ(Application().MainForm(), Form);
  EXPECT_TRUE(Form->HandleAllocated());
  Application().SetShowMainForm(false);
  TTimer Timer(nullptr);
  Timer.SetInterval(10);
  int Ticks = 0;
  Timer.OnTimer = [&](TObject*) {
    if (++Ticks == 1) throw Exception("first tick");
    Application().MainForm()->Close();
  };
  Application().Run();
  EXPECT_EQ(Ticks, 2);
  EXPECT_EQ(Desktop.ErrorReports.size(), 1u);
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));
  delete Form;
  EXPECT_EQ(Application().MainForm(), nullptr);
  Application().SetShowMainForm(true);
}

}  // namespace
