#pragma once

#include <gtest/gtest.h>

#include "tests/shell/FakeDesktop.h"

namespace tarnwick {

// A test whose desktop is the scripted fake Desk for its whole run.
class FakeDesktopTest : public ::testing::Test {
 protected:
  FakeDesktop Desk;
  TDesktopOverride Override{Desk};
};

}  // namespace tarnwick
