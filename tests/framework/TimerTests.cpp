#include <gtest/gtest.h>

#include "tests/framework/TestSupport.h"
#include "framework/Timer.h"

using namespace tarnwick;
using tarnwick::testing::PumpFor;
using tarnwick::testing::PumpUntil;
using tarnwick::testing::TimerRunning;

namespace {

TEST(Timer, RunsOnlyWhileEnabledWithAPeriod) {
  TTimer Timer(nullptr);
  EXPECT_TRUE(Timer.Enabled());
  EXPECT_EQ(Timer.Interval(), 1000u);
  EXPECT_TRUE(TimerRunning(Timer));
  Timer.SetInterval(0);
  EXPECT_FALSE(TimerRunning(Timer));
  Timer.SetEnabled(false);
  Timer.SetInterval(50);
  EXPECT_FALSE(TimerRunning(Timer));
  Timer.SetEnabled(true);
  EXPECT_TRUE(TimerRunning(Timer));
}

TEST(Timer, ChangingThePeriodStartsAFullPeriod) {
  TTimer Timer(nullptr);
  Timer.SetEnabled(false);
  Timer.SetInterval(200);
  ULONGLONG TickedAt = 0;
  Timer.OnTimer = [&](TObject*) {
    if (!TickedAt) TickedAt = GetTickCount64();
  };
  const ULONGLONG Start = GetTickCount64();
  Timer.SetEnabled(true);
  PumpFor(120);
  Timer.SetInterval(210);
  ASSERT_TRUE(PumpUntil([&] { return TickedAt != 0; }));
  // Without the restart the first tick would come at about 200 ms.
  EXPECT_GE(TickedAt - Start, 290u);
}

}  // namespace
