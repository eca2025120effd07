#include <windows.h>

#include "tests/watch/WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::PumpFor;
using tarnwick::testing::PumpUntil;
using tarnwick::testing::WatchTest;
using tarnwick::testing::NewestSplash;
using tarnwick::testing::Waiting;

namespace {

// A popup at a fixed place, and the real pointer moved over and out of it
// (the scripted pointer only says where the popup goes).
class PopupPointerTest : public WatchTest {
 protected:
  void MoveTo(int X, int Y) {
    SetCursorPos(X, Y);
    PumpFor(100);
  }
  static constexpr TPoint Centre{500, 400};
};

TEST_F(PopupPointerTest, LeavingThePictureFollowsOnceAndThenCloses) {
  MoveTo(1500, 900);
  Desk.Cursor = Centre;
  Form().ShowSplash();
  TSplashForm& Splash = *NewestSplash(Form());
  int Pauses = 0;
  Splash.Pause = [&](int) { ++Pauses; };

  MoveTo(Centre.X, Centre.Y);
  MoveTo(Centre.X + 10, Centre.Y + 10);
  MoveTo(1500, 900);
  ASSERT_TRUE(PumpUntil([&] { return Waiting(Splash); }));
  EXPECT_EQ(Pauses, 11);
  EXPECT_TRUE(Form().FSplashShow);

  MoveTo(Centre.X, Centre.Y);
  MoveTo(Centre.X + 10, Centre.Y + 10);
  MoveTo(1500, 900);
  EXPECT_TRUE(PumpUntil([&] { return !Form().FSplashShow; }));
  EXPECT_EQ(Pauses, 11);
}

}  // namespace
