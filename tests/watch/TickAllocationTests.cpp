#include <optional>
#include <vector>

#include "tests/watch/CountedAllocations.h"
#include "shell/MonitorList.h"
#include "tests/watch/WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::CountedAllocations;
using tarnwick::testing::WatchTest;

namespace {

// The watcher's tick runs once a second for as long as the program runs:
// it must not allocate, nor redo what can be done once. Reading the settings
// and decoding a picture both allocate (the file's name alone does), so no
// allocation also means neither happens in a tick.
class TickAllocationTest : public WatchTest {
 protected:
  // Three monitors side by side, the right one shorter: below it lies a gap.
  void ThreeMonitors() {
    Desk.AddMonitor({0, 0, 1024, 768});
    Desk.AddMonitor({1024, 0, 1824, 600});
    Desk.AddMonitor({-1280, 0, 0, 1024});
  }

  // Runs one tick per pointer, Rounds times over, and returns the
  // allocations the ticks made. The fake's record of played sounds has room
  // beforehand, so that only the program's allocations count.
  std::size_t TickAllocations(const std::vector<std::optional<TPoint>>& Pointers, int Rounds = 20) {
    TMainForm& Main = Form();
    Desk.PlayedResources.reserve(Desk.PlayedResources.size() + Pointers.size() * Rounds);
    std::size_t Count = 0;
    for (int Round = 0; Round < Rounds; ++Round)
      for (const std::optional<TPoint>& Pointer : Pointers) {
        Desk.Cursor = Pointer;
        const CountedAllocations Allocations;
        Main.TimerTimer(nullptr);
        Count += Allocations.Count();
      }
    return Count;
  }

  // What a tick must never do: look for files, query drives, take the
  // foreground or enumerate the monitors again.
  void ExpectNoSystemWork(int MonitorLists) {
    EXPECT_TRUE(Desk.FilesLookedFor.empty());
    EXPECT_TRUE(Desk.DriveQueries.empty());
    EXPECT_TRUE(Desk.ForegroundCalls.empty());
    EXPECT_EQ(Desk.MonitorsCalls, MonitorLists);
  }

  static constexpr TPoint Left{100, 100};
  static constexpr TPoint Right{1200, 100};
  static constexpr TPoint Gap{1200, 700};
  static constexpr TPoint Far{-600, 900};
};

TEST_F(TickAllocationTest, CountingDownMovingAndUnknownPointersAllocateNothing) {
  TMainForm& Main = Form();
  const int Lists = Desk.MonitorsCalls;
  EXPECT_EQ(TickAllocations({Left}), 0u);  // the first tick re-arms, the rest count down
  EXPECT_EQ(Main.MWaitTimeC, 60 - 19);
  EXPECT_EQ(TickAllocations({Left, Right}), 0u);  // every move re-arms
  EXPECT_EQ(TickAllocations({std::nullopt}), 0u);
  EXPECT_FALSE(Main.FSplashShow);
  ExpectNoSystemWork(Lists);
}

TEST_F(TickAllocationTest, TheCrossingCheckOnSeveralMonitorsAllocatesNothing) {
  ThreeMonitors();
  TMainForm& Main = Form();
  Main.RadioGroupWav->SetItemIndex(1);
  const int Lists = Desk.MonitorsCalls;
  EXPECT_EQ(TickAllocations({Left}), 0u);
  EXPECT_TRUE(Desk.PlayedResources.empty());
  // Each round plays three times: into the gap, then two crossings; the
  // tick out of the gap only records the monitor.
  EXPECT_EQ(TickAllocations({Gap, Right, Far, Left}), 0u);
  EXPECT_EQ(Desk.PlayedResources.size(), 20u * 3);
  EXPECT_EQ(TickAllocations({std::nullopt}), 0u);
  ExpectNoSystemWork(Lists);
}

TEST_F(TickAllocationTest, AFileSoundModeTouchesNoFileUntilACrossing) {
  ThreeMonitors();
  TMainForm& Main = Form();
  Main.RadioGroupWav->SetItemIndex(2);
  Main.EditWav->SetText(L"C:\\sounds\\a long name for the chime.wav");
  const int Lists = Desk.MonitorsCalls;
  EXPECT_EQ(TickAllocations({Left, TPoint{200, 300}}), 0u);
  ExpectNoSystemWork(Lists);
}

TEST_F(TickAllocationTest, TicksWhileAPopupLivesAllocateNothing) {
  TMainForm& Main = Form();
  TickAt(Left);
  Main.MWaitTimeC = 0;
  TickAt(Right);  // opens the popup: that allocates, the ticks after it do not
  ASSERT_TRUE(Main.FSplashShow);
  const int Lists = Desk.MonitorsCalls;
  EXPECT_EQ(TickAllocations({Left, Right}), 0u);
  EXPECT_EQ(LivePopups().size(), 1u);
  ExpectNoSystemWork(Lists);
}

// What the tick asks of the real desktop: the pointer and the monitor that
// holds it.
TEST(RealDesktopTick, SamplingThePointerAndFindingItsMonitorAllocateNothing) {
  TMonitorList Monitors;
  Monitors.Refresh();
  const CountedAllocations Allocations;
  for (int Tick = 0; Tick < 20; ++Tick) {
    const std::optional<TPoint> Pointer = Desktop().CursorPos();
    ASSERT_TRUE(Pointer);
    ASSERT_EQ(Monitors.IndexFromPoint(*Pointer), 0);
  }
  EXPECT_EQ(Allocations.Count(), 0u);
}

}  // namespace
