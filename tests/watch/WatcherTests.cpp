#include "tests/watch/WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::WatchTest;

namespace {

using WatcherTest = WatchTest;
using tarnwick::testing::NewestSplash;

TEST_F(WatcherTest, SixtyStillTicksThenAMoveOpensOnePopup) {
  TMainForm& Main = Form();
  ASSERT_EQ(Main.MWaitTimeC, 60);
  // The first tick compares with (0, 0): a movement, which only re-arms.
  TickAt({500, 500});
  EXPECT_EQ(Main.MWaitTimeC, 60);
  EXPECT_FALSE(Main.FSplashShow);
  for (int Tick = 0; Tick < 61; ++Tick) TickAt({500, 500});
  EXPECT_EQ(Main.MWaitTimeC, 0);
  EXPECT_FALSE(Main.FSplashShow);

  TickAt({510, 500});
  EXPECT_TRUE(Main.FSplashShow);
  EXPECT_EQ(Main.MWaitTimeC, 60);
  EXPECT_EQ(LivePopups().size(), 1u);

  // While it lives, moves neither open another nor update the last sample.
  Main.MWaitTimeC = 0;
  TickAt({900, 900});
  EXPECT_EQ(LivePopups().size(), 1u);
  EXPECT_EQ(Main.MWaitTimeC, 60);
  EXPECT_EQ(Main.MCursorPosB, (TPoint{510, 500}));
}

TEST_F(WatcherTest, AMoveBeforeTheCountdownEndsReArmsIt) {
  TMainForm& Main = Form();
  TickAt({500, 500});
  for (int Tick = 0; Tick < 59; ++Tick) TickAt({500, 500});
  EXPECT_EQ(Main.MWaitTimeC, 1);
  TickAt({501, 500});
  EXPECT_FALSE(Main.FSplashShow);
  EXPECT_EQ(Main.MWaitTimeC, 60);

  // Picking another idle time sets the new start at once.
  Main.ComboBoxCursor->SetItemIndex(0);
  Main.ComboBoxCursorChange(nullptr);
  EXPECT_EQ(Main.MWaitTimeC, 10);
}

TEST_F(WatcherTest, WithoutAnIdleEntryEveryMoveOpensAPopupWhileNoneLives) {
  WriteSettings("<Cursor Type=\"9\">30</Cursor><First Type=\"2\">0</First>");
  TMainForm& Main = Form();
  EXPECT_EQ(Main.ComboBoxCursor->ItemIndex(), -1);
  EXPECT_EQ(Main.MWaitTimeC, 0);
  TickAt({10, 10});
  ASSERT_TRUE(Main.FSplashShow);
  NewestSplash(Main)->CloseSplash();
  EXPECT_FALSE(Main.FSplashShow);
  TickAt({10, 10});
  EXPECT_FALSE(Main.FSplashShow);  // still: no popup
  TickAt({20, 10});
  EXPECT_TRUE(Main.FSplashShow);
}

TEST_F(WatcherTest, ATickWithoutAPointerSampleChangesNothing) {
  TMainForm& Main = Form();
  TickAt({500, 500});
  Main.MWaitTimeC = 0;
  Desk.Cursor = std::nullopt;
  Main.TimerTimer(nullptr);
  EXPECT_FALSE(Main.FSplashShow);
  EXPECT_EQ(Main.MWaitTimeC, 0);
  EXPECT_EQ(Main.MCursorPosB, (TPoint{500, 500}));
}

}  // namespace

namespace {

TEST_F(WatcherTest, EveryTickChecksForACrossingFirstAlsoWhileAPopupLives) {
  Desk.AddMonitor({0, 0, 1024, 768});
  Desk.AddMonitor({1024, 0, 1824, 600});
  TMainForm& Main = Form();
  Main.RadioGroupWav->SetItemIndex(1);
  std::vector<bool> PopupUpAtSound;
  Desk.OnPlay = [&] { PopupUpAtSound.push_back(Main.FSplashShow || !LivePopups().empty()); };
  TickAt({100, 100});
  Main.MWaitTimeC = 0;
  // The tick that opens the popup crosses too: the sound comes first.
  TickAt({1200, 100});
  ASSERT_TRUE(Main.FSplashShow);
  EXPECT_EQ(PopupUpAtSound, std::vector<bool>{false});
  // With the popup alive the ticks still check.
  TickAt({100, 100});
  EXPECT_EQ(PopupUpAtSound, (std::vector<bool>{false, true}));
  EXPECT_EQ(Main.MMonNo, 0);
}

}  // namespace
