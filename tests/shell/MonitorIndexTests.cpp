#include "FakeDesktopTest.h"
#include "MonitorIndex.h"

namespace tarnwick {
namespace {

// The primary monitor enumerated first, a smaller one on its left second,
// leaving a gap below the smaller one.
class TwoMonitorsTest : public FakeDesktopTest {
 protected:
  TwoMonitorsTest() {
    Desk.AddMonitor({0, 0, 1024, 768});
    Desk.AddMonitor({-800, 0, 0, 600});
  }
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
    EXPECT_EQ(MonitorIndexFromPoint(Case.Point), Case.Index) << Case.Point.X << "," << Case.Point.Y;
}

TEST_F(TwoMonitorsTest, OnePlatformQueryPerCall) {
  MonitorIndexFromPoint({-10, 10});
  EXPECT_EQ(Desk.MonitorFromPointCalls, 1);
}

TEST_F(TwoMonitorsTest, ChangedLayoutIsSeenAtOnce) {
  ASSERT_EQ(MonitorIndexFromPoint({-10, 10}), 1);
  Desk.MonitorList.erase(Desk.MonitorList.begin());
  EXPECT_EQ(MonitorIndexFromPoint({-10, 10}), 0);
  EXPECT_EQ(MonitorCount(), 1);
}

TEST_F(FakeDesktopTest, NoMonitorGivesMinusOne) {
  Desk.SystemMonitors = 1;
  EXPECT_EQ(MonitorIndexFromPoint({0, 0}), -1);
}

TEST_F(FakeDesktopTest, CountFallsBackToTheSystemWhileTheListIsEmpty) {
  Desk.SystemMonitors = 2;
  EXPECT_EQ(MonitorCount(), 2);
  Desk.AddMonitor({0, 0, 640, 480});
  EXPECT_EQ(MonitorCount(), 1);
}

}  // namespace
}  // namespace tarnwick
