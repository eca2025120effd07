#include <gtest/gtest.h>

#include <vector>

#include "Application.h"
#include "Form.h"
#include "Image.h"
#include "ImageLayout.h"
#include "TestPictures.h"
#include "TestSupport.h"

using namespace tarnwick;
using tarnwick::testing::PumpUntil;
using tarnwick::testing::SolidPicture;

namespace {

TEST(PictureDestRect, ScalesAndPlacesAsAsked) {
  enum : unsigned { S = 1, P = 2, C = 4 };
  const struct {
    int PictureWidth, PictureHeight, ClientWidth, ClientHeight;
    unsigned Modes;
    RECT Dest;
  } Cases[] = {
      {250, 250, 400, 300, S | P | C, {50, 0, 350, 300}},   // grows, centred across
      {640, 480, 200, 200, S | P, {0, 0, 200, 150}},        // wide: full width, top left
      {480, 640, 200, 200, S | P | C, {25, 0, 175, 200}},   // tall: full height, centred
      {7, 3, 600, 600, S | P, {0, 0, 600, 257}},            // heights truncate
      {100, 50, 200, 200, S, {0, 0, 200, 200}},             // stretch alone fills
      {50, 40, 200, 200, P, {0, 0, 50, 40}},                // proportional alone never grows
      {50, 40, 200, 200, P | C, {75, 80, 125, 120}},
      {400, 100, 200, 200, P, {0, 0, 200, 50}},             // ... but shrinks
      {400, 100, 200, 200, 0, {0, 0, 400, 100}},            // as it is
      {0, 0, 200, 200, S | P | C, {0, 0, 200, 200}},        // empty: the whole area
  };
  for (const auto& Case : Cases) {
    const RECT Dest = PictureDestRect(Case.PictureWidth, Case.PictureHeight, Case.ClientWidth, Case.ClientHeight,
                                      Case.Modes & S, Case.Modes & P, Case.Modes & C);
    EXPECT_TRUE(EqualRect(&Dest, &Case.Dest))
        << Case.PictureWidth << "x" << Case.PictureHeight << " modes " << Case.Modes << ": " << Dest.left << ","
        << Dest.top << "," << Dest.right << "," << Dest.bottom;
  }
}

TEST(Image, AnimationShowsEachFrameForItsDelayThroughItsRounds) {
  TImage Image(nullptr);
  Image.SetPicture(SolidPicture(4, 4, {50, 10, 200}, 2));
  EXPECT_FALSE(Image.AnimationTimer().Running());
  Image.SetAnimate(true);

  std::vector<std::pair<int, unsigned>> Shown{{Image.FrameIndex(), Image.AnimationTimer().Interval()}};
  for (int Tick = 0; Tick < 5; ++Tick) {
    Image.AdvanceFrame();
    Shown.emplace_back(Image.FrameIndex(), Image.AnimationTimer().Interval());
  }
  EXPECT_EQ(Shown, (std::vector<std::pair<int, unsigned>>{{0, 50}, {1, 100}, {2, 200}, {0, 50}, {1, 100}, {2, 200}}));
  EXPECT_TRUE(Image.AnimationTimer().Running());
  Image.AdvanceFrame();  // two rounds played: the last frame stays
  EXPECT_EQ(Image.FrameIndex(), 2);
  EXPECT_FALSE(Image.AnimationTimer().Running());
}

TEST(Image, AnimationPlaysForEverOnlyForSeveralFrames) {
  TImage Image(nullptr);
  Image.SetAnimate(true);
  Image.SetPicture(SolidPicture(4, 4, {100}));
  EXPECT_FALSE(Image.AnimationTimer().Running());

  Image.SetPicture(SolidPicture(4, 4, {20, 20}, 0));
  for (int Tick = 0; Tick < 9; ++Tick) Image.AdvanceFrame();
  EXPECT_TRUE(Image.AnimationTimer().Running());
  EXPECT_EQ(Image.FrameIndex(), 1);
  // And the timer drives it for real.
  EXPECT_TRUE(PumpUntil([&] { return Image.FrameIndex() == 0; }));
}

TEST(Image, ReportsClicksDoubleClicksAndReleasedButtons) {
  TForm Form(nullptr);
  Form.SetBorderStyle(bsNone);
  Form.SetBounds(0, 0, 100, 80);
  auto* Image = new TImage(&Form);
  Image->SetParent(&Form);
  Image->SetAlign(alClient);
  std::vector<std::string> Log;
  Image->OnClick = [&](TObject*) { Log.push_back("click"); };
  Image->OnDblClick = [&](TObject*) { Log.push_back("double"); };
  Image->OnMouseUp = [&](TObject* Sender, TMouseButton Button, unsigned, int X, int Y) {
    EXPECT_EQ(Sender, Image);
    Log.push_back("up " + std::to_string(Button) + " " + std::to_string(X) + "," + std::to_string(Y));
  };
  const HWND Window = Image->Handle();
  const auto Post = [&](UINT Msg, int X, int Y) { PostMessageW(Window, Msg, 0, MAKELPARAM(X, Y)); };
  Post(WM_LBUTTONDOWN, 5, 6);
  Post(WM_LBUTTONUP, 5, 6);
  Post(WM_LBUTTONDBLCLK, 5, 6);
  Post(WM_LBUTTONUP, 5, 6);
  Post(WM_LBUTTONDOWN, 5, 6);
  Post(WM_LBUTTONUP, 500, 6);  // released outside: no click
  Post(WM_RBUTTONUP, 7, 8);
  Application().ProcessMessages();
  EXPECT_EQ(Log, (std::vector<std::string>{"click", "up 0 5,6", "double", "up 0 5,6", "up 0 500,6", "up 1 7,8"}));
}

}  // namespace
