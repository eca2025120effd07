#include <windows.h>

#include <array>
#include <string>

#include "tests/watch/WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::PumpUntil;
using tarnwick::testing::WatchTest;
using tarnwick::testing::ProcessMessages;
using tarnwick::testing::TimerRunning;
using tarnwick::testing::NewestSplash;
using tarnwick::testing::Waiting;

namespace {

class SplashTest : public WatchTest {
 protected:
  // Shows a popup whose two pointer samples are First and Second.
  TSplashForm& ShowAt(TPoint First, TPoint Second) {
    Desk.CursorQueue = {First, Second};
    Form().ShowSplash();
    return *NewestSplash(Form());
  }
  TSplashForm& ShowAt(TPoint Pointer) { return ShowAt(Pointer, Pointer); }

  // The popup was closed and then freed.
  bool Freed() { return PumpUntil([&] { return NewestSplash(Form()) == nullptr; }); }
};

// Left, top, right and bottom on the screen.
std::array<LONG, 4> ScreenBounds(HWND Window) {
  RECT Rect{};
  GetWindowRect(Window, &Rect);
  return {Rect.left, Rect.top, Rect.right, Rect.bottom};
}

TEST_F(SplashTest, ABuiltInPopupIsTopmostBorderlessAndCentredOnTheLastSample) {
  TSplashForm& Splash = ShowAt({1000, 500}, {1100, 600});
  EXPECT_TRUE(Form().FSplashShow);
  const HWND Window = Splash.Handle();
  EXPECT_TRUE(IsWindowVisible(Window));
  EXPECT_TRUE(GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindowLongPtrW(Window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_EQ(ScreenBounds(Window), (std::array<LONG, 4>{900, 400, 1300, 800}));
  // The program's taskbar entry goes while the popup is up.
  EXPECT_FALSE(IsWindowVisible(Application().Handle()));
  EXPECT_EQ(Splash.Timer->Interval(), 3000u);
  EXPECT_TRUE(TimerRunning(*Splash.Timer));
}

TEST_F(SplashTest, APopupIsShownActiveAndKeepsItsSizeOnAMonitorOfAnotherResolution) {
  TSplashForm& Splash = ShowAt({1000, 500});
  const HWND Window = Splash.Handle();
  // Shown the normal way: it takes the activation, so a key reaches it.
  EXPECT_EQ(GetActiveWindow(), Window);
  EXPECT_EQ(GetFocus(), Window);
  // The system moves it to a 192-dpi monitor and suggests twice the size.
  RECT Suggested{700, 100, 1500, 900};
  SendMessageW(Window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&Suggested));
  EXPECT_EQ(ScreenBounds(Window), (std::array<LONG, 4>{800, 300, 1200, 700}));
  EXPECT_EQ(Splash.Image->Width(), 400);
}

// Refuses to make the windows of one class on this thread while it lives,
// as a system out of window resources would.
class WindowRefusal {
 public:
  explicit WindowRefusal(const wchar_t* ClassName) {
    Refused = ClassName;
    FHook = SetWindowsHookExW(WH_CBT, &Refuse, nullptr, GetCurrentThreadId());
  }
  ~WindowRefusal() { UnhookWindowsHookEx(FHook); }
  WindowRefusal(const WindowRefusal&) = delete;
  WindowRefusal& operator=(const WindowRefusal&) = delete;
  bool Hooked() const { return FHook != nullptr; }

 private:
  static LRESULT CALLBACK Refuse(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HCBT_CREATEWND) {
      const auto* Create = reinterpret_cast<CBT_CREATEWNDW*>(LParam);
      if (!IS_INTRESOURCE(Create->lpcs->lpszClass) && std::wstring(Create->lpcs->lpszClass) == Refused) return 1;
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  static inline std::wstring Refused;
  HHOOK FHook;
};

// Real ticks of the settings window's timer, so that an error takes the
// way a tick's error takes: out of the timer's message, to the report.
class TimerTickTest : public SplashTest {
 protected:
  TMainForm& TickingForm() {
    TMainForm& Main = Form();
    Main.Timer->SetInterval(20);
    Main.Timer->OnTimer = [this, &Main](TObject* Sender) {
      ++TickCount;
      Main.TimerTimer(Sender);
    };
    return Main;
  }
  ~TimerTickTest() override { Form().Timer->OnTimer = nullptr; }

  void Ticks(int Count) {
    const int Until = TickCount + Count;
    EXPECT_TRUE(PumpUntil([&] { return TickCount >= Until; }));
  }

  int TickCount = 0;
};

TEST_F(TimerTickTest, APopupThatCannotBeMadeIsReportedOnceAndTheNextMoveTriesAgain) {
  WriteSettings("<Cursor Type=\"9\">30</Cursor><First Type=\"2\">0</First>");
  TMainForm& Main = TickingForm();
  ASSERT_EQ(Main.MWaitTimeC, 0);
  {
    const WindowRefusal Refusal(L"TSplashForm");
    ASSERT_TRUE(Refusal.Hooked());
    Desk.Cursor = TPoint{300, 300};
    Ticks(1);
    EXPECT_EQ(Desk.ErrorReports.size(), 1u);
    EXPECT_FALSE(Main.FSplashShow);
    ProcessMessages();
    EXPECT_TRUE(LivePopups().empty());
    EXPECT_EQ(NewestSplash(Main), nullptr);
    // A still pointer tries nothing; the next movement tries again.
    Ticks(3);
    EXPECT_EQ(Desk.ErrorReports.size(), 1u);
    Desk.Cursor = TPoint{310, 300};
    Ticks(1);
    EXPECT_EQ(Desk.ErrorReports.size(), 2u);
  }
  Desk.ErrorReports.clear();
  Desk.Cursor = TPoint{320, 300};
  Ticks(1);
  EXPECT_TRUE(Main.FSplashShow);
  EXPECT_EQ(LivePopups().size(), 1u);
}

TEST_F(SplashTest, SizeAndLifetimeFollowTheSettings) {
  Form().RadioGroupSize->SetItemIndex(2);
  Form().ComboBoxSplash->SetItemIndex(-1);
  TSplashForm& Small = ShowAt({-500, -300});
  EXPECT_EQ(Small.Width(), 200);
  EXPECT_EQ(Small.Height(), 200);
  EXPECT_EQ(Small.Left(), -600);
  EXPECT_EQ(Small.Top(), -400);
  // No lifetime: only the user closes it.
  EXPECT_FALSE(TimerRunning(*Small.Timer));

  Form().RadioGroupSize->SetItemIndex(0);
  Form().ComboBoxSplash->SetItemIndex(9);
  TSplashForm& Large = ShowAt({100, 100});
  EXPECT_EQ(Large.Width(), 600);
  EXPECT_EQ(Large.Left(), -200);
  EXPECT_EQ(Large.Timer->Interval(), 10000u);
}

TEST_F(SplashTest, EachDismissalClosesAndFreesThePopup) {
  const struct {
    const char* Name;
    void (*Dismiss)(TSplashForm&);
  } Dismissals[] = {
      {"lifetime", [](TSplashForm& S) { S.TimerTimer(nullptr); }},
      {"key with a character", [](TSplashForm& S) { SendMessageW(S.Handle(), WM_CHAR, L'a', 0); }},
      {"click",
       [](TSplashForm& S) {
         SendMessageW(S.Image->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
         SendMessageW(S.Image->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
       }},
      {"leave of the window", [](TSplashForm& S) { S.FormMouseLeave(nullptr); }},
  };
  for (const auto& Dismissal : Dismissals) {
    SCOPED_TRACE(Dismissal.Name);
    TSplashForm& Splash = ShowAt({300, 300});
    const HWND Window = Splash.Handle();
    Dismissal.Dismiss(Splash);
    EXPECT_FALSE(Form().FSplashShow);
    EXPECT_FALSE(IsWindowVisible(Window));
    EXPECT_TRUE(Freed());
  }
}

TEST_F(SplashTest, AKeyWithoutACharacterKeepsItAndLaterDismissalsAreHarmless) {
  TSplashForm& Splash = ShowAt({300, 300});
  SendMessageW(Splash.Handle(), WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(Splash.Handle(), WM_KEYUP, VK_LEFT, 0);
  EXPECT_TRUE(Form().FSplashShow);
  // A click and a tick queued together close it once.
  std::vector<int> Pauses;
  Splash.Pause = [&](int Ms) { Pauses.push_back(Ms); };
  Splash.ImageClick(nullptr);
  Splash.TimerTimer(nullptr);
  // The leave that hiding it under the pointer reports starts no following.
  Splash.ImageMouseLeave(nullptr);
  EXPECT_TRUE(Pauses.empty());
  EXPECT_TRUE(Freed());
  EXPECT_TRUE(LivePopups().empty());
}

TEST_F(SplashTest, TheFirstLeaveFollowsThePointerAndTheSecondCloses) {
  TSplashForm& Splash = ShowAt({300, 300});
  std::vector<int> Pauses;
  Splash.Pause = [&](int Ms) { Pauses.push_back(Ms); };
  for (int Step = 1; Step <= 11; ++Step) Desk.CursorQueue.push_back(TPoint{300 + Step * 10, 300});
  Splash.ImageMouseLeave(nullptr);
  EXPECT_EQ(Pauses, std::vector<int>(11, 25));
  EXPECT_EQ(Splash.Left(), 410 - 200);
  EXPECT_TRUE(Waiting(Splash));
  EXPECT_TRUE(Form().FSplashShow);

  Splash.ImageMouseLeave(nullptr);
  EXPECT_FALSE(Form().FSplashShow);
  EXPECT_TRUE(Freed());
}

TEST_F(SplashTest, APreviewWhileOneLivesMakesASecondPopup) {
  Desk.Cursor = TPoint{300, 300};
  Form().ImageDblClick(nullptr);
  TSplashForm* First = NewestSplash(Form());
  Form().ImageDblClick(nullptr);
  TSplashForm* Second = NewestSplash(Form());
  ASSERT_NE(First, Second);
  EXPECT_EQ(LivePopups().size(), 2u);
  // Whichever closes first clears the flag.
  First->CloseSplash();
  EXPECT_FALSE(Form().FSplashShow);
  EXPECT_TRUE(IsWindowVisible(Second->Handle()));
  EXPECT_TRUE(PumpUntil([&] { return LivePopups().size() == 1; }));
}

TEST_F(SplashTest, WithoutAPointerSampleThePopupGoesWhereThePointerWasLastSeen) {
  Form().MCursorPosB = {700, 700};
  Desk.Cursor = std::nullopt;
  Form().ShowSplash();
  EXPECT_EQ(NewestSplash(Form())->Left(), 500);
  EXPECT_EQ(NewestSplash(Form())->Top(), 500);
}

}  // namespace
