#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/shell/FakeDesktop.h"

namespace tarnwick {
namespace {

TEST(Desktop, OverridesNestAndUnwind) {
  FakeDesktop Outer;
  FakeDesktop Inner;
  TDesktopOverride First(Outer);
  {
    TDesktopOverride Second(Inner);
    EXPECT_EQ(&Desktop(), &Inner);
  }
  EXPECT_EQ(&Desktop(), &Outer);
}

#ifndef _WIN32
TEST(Desktop, NoneAwayFromWindows) { EXPECT_THROW(Desktop(), std::logic_error); }
#endif

}  // namespace
}  // namespace tarnwick
