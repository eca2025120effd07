#include "tests/shell/FakeDesktopTest.h"
#include "shell/MonitorList.h"

namespace tarnwick {
namespace {

// The primary monitor enumerated first, a smaller one on its left second,
// leaving a gap below the smaller one.
class TwoMonitorsTest : public FakeDesktopTest {
 protected:
  TwoMonitorsTest() {
    Desk.AddMonitor({0, 0, 1024, 768});
    Desk.AddMonitor({-800, 0, 0, 600});
    Monitors.Refresh();
  }
  TMonitorList Monitors;
};

TEST_F(TwoMonitorsTest, IndexFollowsEnumerationOrder) {
  const struct {
    TPoint Point;
    std::int32_t Index;
  } Cases[] = {
      {{0, 0}, 0},      {{1023, 767}, 0},  {{-1, 0}, 1},       {{-800, 599}, 1},
      {{-10, 700}, -1}, {{1024, 10}, -1},  {{-801, 10}, -1},   {{-100000, -100000}, -1},
  };
  for (const auto& Case : Cases)
    EXPECT_EQ(Monitors.IndexFromPoint(Case.Point), Case.Index) << Case.Point.X << "," << Case.Point.Y;
}

TEST_F(TwoMonitorsTest, LookupsQueryThePlatformOnceAndNeverEnumerate) {
  for (const TPoint Point : {TPoint{-10, 10}, TPoint{10, 10}, TPoint{-10, 700}}) Monitors.IndexFromPoint(Point);
  EXPECT_EQ(Desk.MonitorFromPointCalls, 3);
  EXPECT_EQ(Desk.MonitorsCalls, 1);
}

TEST_F(TwoMonitorsTest, AnAddedMonitorIsSeenAtOnceAReorderedListAfterRefresh) {
  Desk.AddMonitor({1024, 0, 1824, 600});
  EXPECT_EQ(Monitors.IndexFromPoint({1100, 10}), 2);
  EXPECT_EQ(Monitors.Count(), 3);

  Desk.MonitorList.erase(Desk.MonitorList.begin());
  Monitors.Refresh();
  EXPECT_EQ(Monitors.IndexFromPoint({-10, 10}), 0);
  EXPECT_EQ(Monitors.IndexFromPoint({10, 10}), -1);
  EXPECT_EQ(Monitors.Count(), 2);
}

TEST_F(FakeDesktopTest, NoMonitorGivesMinusOne) {
  Desk.SystemMonitors = 1;
  TMonitorList Monitors;
  Monitors.Refresh();
  EXPECT_EQ(Monitors.IndexFromPoint({0, 0}), -1);
}

TEST_F(FakeDesktopTest, CountFallsBackToTheSystemWhileTheListIsEmpty) {
  Desk.SystemMonitors = 2;
  TMonitorList Monitors;
  Monitors.Refresh();
  EXPECT_EQ(Monitors.Count(), 2);
  Desk.AddMonitor({0, 0, 640, 480});
  Monitors.Refresh();
  EXPECT_EQ(Monitors.Count(), 1);
}

}  // namespace
}  // namespace tarnwick
