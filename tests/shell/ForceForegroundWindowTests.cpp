#include <gmock/gmock.h>

#include "tests/shell/FakeDesktopTest.h"
#include "shell/ForceForegroundWindow.h"

namespace tarnwick {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Grant = FakeDesktop::ForegroundGrant;

constexpr WindowHandle Own = 7;
constexpr WindowHandle Other = 5;

// Another process's window has the foreground; ours is on thread 2.
class ForceForegroundTest : public FakeDesktopTest {
 protected:
  ForceForegroundTest() {
    Desk.WindowThreads = {{Own, 2}, {Other, 1}};
    Desk.Foreground = Other;
  }
};

TEST_F(ForceForegroundTest, AlreadyInFrontChangesNothing) {
  Desk.Foreground = Own;
  EXPECT_TRUE(ForceForegroundWindow(Own));
  EXPECT_THAT(Desk.ForegroundCalls, IsEmpty());
}

TEST_F(ForceForegroundTest, JoinedInputTakesTheForeground) {
  Desk.Grant = Grant::WhenAttached;
  EXPECT_TRUE(ForceForegroundWindow(Own));
  EXPECT_THAT(Desk.ForegroundCalls, ElementsAre("Attach(2,1)", "Top(7)", "Foreground(7)", "Detach(2,1)"));
}

TEST_F(ForceForegroundTest, RefusedJoinLiftsTheLockForOneTry) {
  Desk.AttachRefused = true;
  Desk.Grant = Grant::WhenUnlocked;
  EXPECT_TRUE(ForceForegroundWindow(Own));
  EXPECT_THAT(Desk.ForegroundCalls, ElementsAre("Timeout(0)", "Top(7)", "Foreground(7)", "Timeout(200000)"));
}

TEST_F(ForceForegroundTest, JoinedInputRefusedLiftsTheLock) {
  Desk.Grant = Grant::WhenUnlocked;
  EXPECT_TRUE(ForceForegroundWindow(Own));
  EXPECT_THAT(Desk.ForegroundCalls, ElementsAre("Attach(2,1)", "Top(7)", "Foreground(7)", "Detach(2,1)", "Timeout(0)",
                                                "Top(7)", "Foreground(7)", "Timeout(200000)"));
}

TEST_F(ForceForegroundTest, RefusedEverywhereReportsFalseAndRestoresTheTimeout) {
  Desk.Grant = Grant::Never;
  EXPECT_FALSE(ForceForegroundWindow(Own));
  EXPECT_EQ(Desk.LockTimeout, 200000u);
  EXPECT_EQ(Desk.Foreground, Other);
}

TEST_F(ForceForegroundTest, UnreadableTimeoutIsLeftAlone) {
  Desk.AttachRefused = true;
  Desk.LockTimeout.reset();
  Desk.Grant = Grant::Always;
  EXPECT_TRUE(ForceForegroundWindow(Own));
  EXPECT_THAT(Desk.ForegroundCalls, ElementsAre("Top(7)", "Foreground(7)"));
}

TEST_F(ForceForegroundTest, WithoutLockNoJoinIsTried) {
  Desk.Version = {1, 4, 0};
  EXPECT_TRUE(ForceForegroundWindow(Own));
  EXPECT_THAT(Desk.ForegroundCalls, ElementsAre("Top(7)", "Foreground(7)"));
}

TEST(HasForegroundLock, FromNT5AndWindows41On) {
  const struct {
    TPlatformVersion Version;
    bool Locked;
  } Cases[] = {
      {{2, 4, 0}, false}, {{2, 5, 0}, true},  {{2, 10, 0}, true}, {{1, 4, 0}, false},
      {{1, 4, 10}, true}, {{1, 5, 0}, true},  {{0, 10, 0}, false},
  };
  for (const auto& Case : Cases)
    EXPECT_EQ(HasForegroundLock(Case.Version), Case.Locked)
        << Case.Version.PlatformId << " " << Case.Version.Major << "." << Case.Version.Minor;
}

}  // namespace
}  // namespace tarnwick
