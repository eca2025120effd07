#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Form.h"
#include "framework/Image.h"
#include "tests/framework/TestSupport.h"

using namespace tarnwick;
using tarnwick::testing::PumpFor;
using tarnwick::testing::PumpUntil;

namespace {

// A shown window whose left half is a picture and whose right half is
// bare, and a real pointer moved over and out of it.
class PointerTest : public ::testing::Test {
 protected:
  PointerTest() {
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(Left, Top, 200, 100);
    Image->SetParent(&Form);
    Image->SetWidth(100);
    Image->SetAlign(alLeft);
    Form.OnMouseLeave = [this](TObject*) { Leaves.push_back("form"); };
    Image->OnMouseLeave = [this](TObject*) { Leaves.push_back("image"); };
    Form.Show();
    PumpFor(50);
  }

  // Moves the pointer to X, Y of the screen and lets the windows see it.
  void MoveTo(int X, int Y) {
    SetCursorPos(X, Y);
    PumpFor(100);
  }
  bool LeftOnce() {
    return PumpUntil([this] { return !Leaves.empty(); }) && (PumpFor(100), Leaves.size() == 1);
  }

  static constexpr int Left = 300;
  static constexpr int Top = 200;
  TForm Form{nullptr};
  TImage* Image = new TImage(&Form);
  std::vector<std::string> Leaves;
};

TEST_F(PointerTest, LeavingFromThePictureIsThePicturesLeave) {
  MoveTo(Left + 50, Top + 50);
  MoveTo(Left + 30, Top + 40);
  MoveTo(Left + 900, Top + 500);
  ASSERT_TRUE(LeftOnce());
  EXPECT_EQ(Leaves[0], "image");
}

TEST_F(PointerTest, LeavingFromTheBareWindowIsTheFormsLeaveEvenAfterThePicture) {
  MoveTo(Left + 50, Top + 50);
  MoveTo(Left + 150, Top + 50);
  MoveTo(Left + 160, Top + 60);
  EXPECT_TRUE(Leaves.empty());  // moving from the picture to the bare window is no leave
  MoveTo(Left + 900, Top + 500);
  ASSERT_TRUE(LeftOnce());
  EXPECT_EQ(Leaves[0], "form");
}

}  // namespace
