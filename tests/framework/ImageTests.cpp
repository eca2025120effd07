#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <gif_lib.h>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/FrameBitmap.h"
#include "pictures/FramePlayer.h"
#include "framework/Image.h"
#include "framework/ImageLayout.h"
#include "framework/FrameSheet.h"
#include "pictures/PictureDecoder.h"
#include "support/PictureEncoders.h"
#include "tests/framework/TestPictures.h"
#include "tests/framework/TestSupport.h"

using namespace tarnwick;
using tarnwick::testing::PumpFor;
using tarnwick::testing::PumpUntil;
using tarnwick::testing::SolidPicture;
using tarnwick::testing::ProcessMessages;
using tarnwick::testing::TimerRunning;
using tarnwick::testing::FrameIndex;
using tarnwick::testing::AnimationTimer;
using tarnwick::testing::FramesPrepared;
using tarnwick::testing::FramesKept;

namespace {

// Pictures are decoded for the largest popup, as the program decodes them.
constexpr int ShownLongSide = 600;

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
  EXPECT_FALSE(TimerRunning(AnimationTimer(Image)));
  Image.SetAnimate(true);

  std::vector<std::pair<int, unsigned>> Shown{{FrameIndex(Image), AnimationTimer(Image).Interval()}};
  for (int Tick = 0; Tick < 5; ++Tick) {
    Image.AdvanceFrame();
    Shown.emplace_back(FrameIndex(Image), AnimationTimer(Image).Interval());
  }
  EXPECT_EQ(Shown, (std::vector<std::pair<int, unsigned>>{{0, 50}, {1, 100}, {2, 200}, {0, 50}, {1, 100}, {2, 200}}));
  EXPECT_TRUE(TimerRunning(AnimationTimer(Image)));
  Image.AdvanceFrame();  // two rounds played: the last frame stays
  EXPECT_EQ(FrameIndex(Image), 2);
  EXPECT_FALSE(TimerRunning(AnimationTimer(Image)));
}

TEST(Image, AnimationPlaysForEverOnlyForSeveralFrames) {
  TImage Image(nullptr);
  Image.SetAnimate(true);
  Image.SetPicture(SolidPicture(4, 4, {100}));
  EXPECT_FALSE(TimerRunning(AnimationTimer(Image)));

  Image.SetPicture(SolidPicture(4, 4, {20, 20}, 0));
  for (int Tick = 0; Tick < 9; ++Tick) Image.AdvanceFrame();
  EXPECT_TRUE(TimerRunning(AnimationTimer(Image)));
  EXPECT_EQ(FrameIndex(Image), 1);
}

// A borderless form of Width x Height filled by a new image of its own.
TImage* ImageFilling(TForm& Form, int Width, int Height) {
  Form.SetBorderStyle(bsNone);
  Form.SetBounds(0, 0, Width, Height);
  auto* Image = new TImage(&Form);
  Image->SetParent(&Form);
  Image->SetAlign(alClient);
  return Image;
}

TEST(Image, AnAnimationPlaysWhileShownAndWaitsWhileHidden) {
  TForm Form(nullptr);
  TImage* Image = ImageFilling(Form, 40, 40);
  Image->SetPicture(SolidPicture(4, 4, {20, 20}));
  Image->SetAnimate(true);
  Form.Show();
  EXPECT_TRUE(PumpUntil([&] { return FrameIndex(*Image) == 1; }));
  UpdateWindow(Image->Handle());

  EXPECT_EQ(FramesKept(*Image), 2);

  Form.SetVisible(false);
  EXPECT_TRUE(PumpUntil([&] { return !TimerRunning(AnimationTimer(*Image)); }));
  EXPECT_EQ(FramesKept(*Image), 0);
  const int Waiting = FrameIndex(*Image);
  PumpFor(100);
  EXPECT_EQ(FrameIndex(*Image), Waiting);

  Form.Show();
  EXPECT_TRUE(PumpUntil([&] { return FrameIndex(*Image) != Waiting; }));
  EXPECT_TRUE(TimerRunning(AnimationTimer(*Image)));
}

TEST(Image, PaintsItsColourAroundASmallerPictureWhereverAPaintReaches) {
  TForm Form(nullptr);
  TImage* Image = ImageFilling(Form, 10, 10);
  Form.SetColor(clWhite);
  Image->SetCenter(true);
  Image->SetPicture(SolidPicture(4, 2, {0}, 0, 0xFF0000FFu));  // blue, at 3,4 to 7,6
  Form.Show();
  const HWND Window = Image->Handle();
  const HDC DC = GetDC(Window);
  const auto Repaint = [&](const RECT* Part) {
    PatBlt(DC, 0, 0, 10, 10, BLACKNESS);
    InvalidateRect(Window, Part, FALSE);
    UpdateWindow(Window);
  };
  const POINT Around[] = {{0, 0}, {9, 0}, {5, 3}, {2, 5}, {7, 4}, {9, 5}, {5, 6}, {0, 9}, {9, 9}};

  Repaint(nullptr);
  for (const POINT& At : Around) EXPECT_EQ(GetPixel(DC, At.x, At.y), RGB(255, 255, 255)) << At.x << "," << At.y;
  EXPECT_EQ(GetPixel(DC, 3, 4), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(DC, 6, 5), RGB(0, 0, 255));

  // A paint of part of the picture and part of a band beside it.
  const RECT Part{1, 4, 5, 6};
  Repaint(&Part);
  EXPECT_EQ(GetPixel(DC, 1, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(DC, 4, 5), RGB(0, 0, 255));
  ReleaseDC(Window, DC);
}

// A memory DC over an 8 x 8 bitmap painted black.
class MemoryCanvas {
 public:
  MemoryCanvas() : FDC(CreateCompatibleDC(nullptr)), FBitmap(CreateCompatibleBitmap(FScreen, 8, 8)) {
    FPrevious = SelectObject(FDC, FBitmap);
    PatBlt(FDC, 0, 0, 8, 8, BLACKNESS);
  }
  ~MemoryCanvas() {
    SelectObject(FDC, FPrevious);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
    ReleaseDC(nullptr, FScreen);
  }
  HDC DC() const { return FDC; }
  COLORREF At(int X, int Y) const { return GetPixel(FDC, X, Y); }

 private:
  HDC FScreen = GetDC(nullptr);
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FPrevious = nullptr;
};

TEST(FrameSheet, LaysEachFrameOverTheColourOnceAndDrawsOnlyItsPlace) {
  // Frame 0 opaque red, frame 1 blue at half alpha (premultiplied).
  TPicture Source = SolidPicture(2, 2, {40, 40}, 0, 0xFFFF0000u);
  std::fill(Source.Frames[1].Pixels.begin(), Source.Frames[1].Pixels.end(), 0x80000080u);
  const RECT Dest{2, 2, 6, 6};
  const RECT Client{0, 0, 8, 8};
  TFrameSheet Sheet(Source, Dest, Client, RGB(255, 255, 255));
  MemoryCanvas Canvas;

  EXPECT_TRUE(Sheet.Draw(Canvas.DC(), 1));
  EXPECT_EQ(Canvas.At(3, 3), RGB(127, 127, 255));
  EXPECT_EQ(Canvas.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(Canvas.At(6, 6), RGB(0, 0, 0));
  EXPECT_TRUE(Sheet.Draw(Canvas.DC(), 0));
  EXPECT_EQ(Canvas.At(5, 5), RGB(255, 0, 0));
  EXPECT_FALSE(Sheet.Draw(Canvas.DC(), 1));  // prepared already
  EXPECT_EQ(Canvas.At(2, 2), RGB(127, 127, 255));
  EXPECT_EQ(Sheet.Kept(), 2);

  EXPECT_TRUE(Sheet.Fits(Dest, Client, RGB(255, 255, 255)));
  EXPECT_FALSE(Sheet.Fits(Dest, Client, RGB(0, 0, 0)));
  EXPECT_FALSE(Sheet.Fits(RECT{2, 2, 7, 7}, Client, RGB(255, 255, 255)));
  EXPECT_FALSE(Sheet.Fits(Dest, RECT{0, 0, 4, 4}, RGB(255, 255, 255)));
}

TEST(FrameSheet, CopiesAFrameShownAtItsOwnSizeFromItsVisiblePart) {
  // Two frames of 2 x 2, left column red, right column green.
  TPicture Source = SolidPicture(2, 2, {40, 40});
  for (TPictureFrame& Frame : Source.Frames) Frame.Pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFFFF0000u, 0xFF00FF00u};
  const RECT Dest{-1, 5, 1, 7};  // the left column lies outside
  const RECT Client{0, 0, 8, 8};
  TFrameSheet Sheet(Source, Dest, Client, RGB(0, 0, 255));
  MemoryCanvas Canvas;
  EXPECT_TRUE(Sheet.Draw(Canvas.DC(), 1));
  EXPECT_EQ(Canvas.At(0, 5), RGB(0, 255, 0));
  EXPECT_EQ(Canvas.At(0, 6), RGB(0, 255, 0));
  EXPECT_EQ(Canvas.At(1, 5), RGB(0, 0, 0));
  EXPECT_EQ(Canvas.At(0, 4), RGB(0, 0, 0));

  // A frame short of pixels shows as the background.
  Source.Frames[0].Pixels.pop_back();
  EXPECT_TRUE(Sheet.Draw(Canvas.DC(), 0));
  EXPECT_EQ(Canvas.At(0, 5), RGB(0, 0, 255));
}

TEST(FrameSheet, KeepsOnlyTheVisiblePartAndEveryFrameOnlyWithinItsBudget) {
  const RECT Client{0, 0, 1024, 1024};
  // Far larger than the client area: only the client area is kept.
  const RECT Huge{-8000, -8000, 12000, 12000};
  const TPicture Two = SolidPicture(2, 2, {40, 40});
  TFrameSheet Clipped(Two, Huge, Client, 0);
  const RECT Covered = Clipped.Covered();
  EXPECT_TRUE(EqualRect(&Covered, &Client));

  // As many frames of the client's size as the budget holds are all kept;
  // one more, and only the frame drawn last is.
  const int Fitting = static_cast<int>(MaxSheetPixels / (1024 * 1024));
  MemoryCanvas Canvas;
  for (const int Frames : {Fitting, Fitting + 1}) {
    const TPicture Source = SolidPicture(2, 2, std::vector<int>(static_cast<std::size_t>(Frames), 40));
    TFrameSheet Sheet(Source, Client, Client, 0);
    for (int Frame = 0; Frame < Frames; ++Frame) EXPECT_TRUE(Sheet.Draw(Canvas.DC(), Frame));
    EXPECT_EQ(Sheet.Kept(), Frames == Fitting ? Frames : 1) << Frames << " frames";
    EXPECT_EQ(Sheet.Draw(Canvas.DC(), 0), Frames != Fitting) << Frames << " frames";
  }

  // Nothing visible: nothing kept, nothing drawn.
  TFrameSheet Outside(Two, RECT{5000, 0, 5100, 100}, Client, 0);
  const RECT None = Outside.Covered();
  EXPECT_TRUE(IsRectEmpty(&None));
  EXPECT_FALSE(Outside.Draw(Canvas.DC(), 1));
}

TEST(Image, PlayingAnAnimationPreparesEachFrameOnceUntilTheColourChanges) {
  TForm Form(nullptr);
  TImage* Image = ImageFilling(Form, 60, 40);
  Image->SetStretch(true);
  Image->SetPicture(SolidPicture(4, 4, {20, 20, 20}));
  Form.Show();
  const auto ShowNextFrames = [&](int Count) {
    for (int Frame = 0; Frame < Count; ++Frame) {
      Image->AdvanceFrame();
      UpdateWindow(Image->Handle());
    }
  };
  UpdateWindow(Image->Handle());
  ShowNextFrames(10);
  EXPECT_EQ(FramesPrepared(*Image), 3);

  // A new colour part way through: the new sheet still holds every frame,
  // so coming round to the first frame makes no other.
  Form.SetColor(clWhite);
  UpdateWindow(Image->Handle());
  ShowNextFrames(5);
  EXPECT_EQ(FramesPrepared(*Image), 6);
}

TEST(Image, ReportsClicksDoubleClicksAndReleasedButtons) {
  TForm Form(nullptr);
  TImage* Image = ImageFilling(Form, 100, 80);
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
  ProcessMessages();
  EXPECT_EQ(Log, (std::vector<std::string>{"click", "up 0 5,6", "double", "up 0 5,6", "up 0 500,6", "up 1 7,8"}));
}


// A 1024 x 1024 animation whose later frames change small parts in every
// way a frame can: drawn, cleared after, restored after, with clear pixels,
// reaching past the canvas.
TPicture ChangingAnimation(int Frames) {
  using picture_tests::GifFrameLayout;
  const picture_tests::GifPalette Palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  std::vector<GifFrameLayout> Layouts{picture_tests::FilledGifFrame(0, 0, 1024, 1024, 1)};
  for (int I = 1; I < Frames; ++I) {
    GifFrameLayout Changed =
        picture_tests::FilledGifFrame(I * 61 % 1000, I * 97 % 1000, 40 + I % 3 * 20, 30, static_cast<std::uint8_t>(2 + I % 3));
    Changed.Disposal = I % 3 == 0 ? DISPOSE_BACKGROUND : I % 3 == 1 ? DISPOSE_PREVIOUS : DISPOSE_DO_NOT;
    if (I % 2) {
      Changed.TransparentIndex = 1;
      std::fill_n(Changed.Indexes.begin(), Changed.Indexes.size() / 2, 1);
    }
    Layouts.push_back(Changed);
  }
  return DecodePicture(picture_tests::EncodeGif(1024, 1024, Palette, Layouts, 0), TPictureFormat::pfGif, ShownLongSide);
}

// The pixels of a bitmap of Client's size.
std::vector<std::uint32_t> PixelsOf(const TFrameBitmap& Target, const RECT& Client) {
  GdiFlush();
  return {Target.Row(0), Target.Row(Client.bottom)};
}

// What Sheet draws of Frame on a bitmap of its own.
std::vector<std::uint32_t> Drawn(TFrameSheet& Sheet, int Frame, const RECT& Client) {
  const TFrameBitmap Target(Client.right, Client.bottom);
  Sheet.Draw(Target.DC(), Frame);
  return PixelsOf(Target, Client);
}

// What Screen shows once Sheet has drawn Frame over it as a window would
// have it painted: only where Frame changed since the frame drawn before.
std::vector<std::uint32_t> Painted(TFrameSheet& Sheet, int Frame, const TFrameBitmap& Screen, const RECT& Client) {
  Sheet.Prepare(Frame);
  const RECT Changed = Sheet.ChangedSinceDrawn(Frame);
  const int Saved = SaveDC(Screen.DC());
  IntersectClipRect(Screen.DC(), Changed.left, Changed.top, Changed.right, Changed.bottom);
  Sheet.Draw(Screen.DC(), Frame);
  RestoreDC(Screen.DC(), Saved);
  return PixelsOf(Screen, Client);
}

TEST(FrameSheet, MakesAndPaintsEachFrameFromTheOneBeforeAsItWouldMakeItAlone) {
  constexpr int Frames = 15;  // at 1024 x 1024, more than a sheet keeps
  const TPicture Source = ChangingAnimation(Frames);
  const RECT Client{0, 0, 1024, 1024};
  const struct {
    RECT Dest;
    int Kept;
  } Cases[] = {
      {Client, 1},                    // its own size, made as it is due
      {{12, 12, 1012, 1012}, 1},      // reduced, made as it is due
      {{-200, 0, 312, 512}, Frames},  // reduced, partly outside, every frame kept
  };
  for (const auto& Case : Cases) {
    TFrameSheet Playing(Source, Case.Dest, Client, RGB(255, 255, 255));
    const TFrameBitmap Screen(Client.right, Client.bottom);
    for (const int Frame : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 1, 2}) {
      TFrameSheet Alone(Source, Case.Dest, Client, RGB(255, 255, 255));
      ASSERT_EQ(Painted(Playing, Frame, Screen, Client), Drawn(Alone, Frame, Client))
          << "frame " << Frame << " at " << Case.Dest.left << "," << Case.Dest.top;
    }
    EXPECT_EQ(Playing.Kept(), Case.Kept);
    // Most frames change a little: only that is painted again.
    Playing.Prepare(3);
    const RECT Changed = Playing.ChangedSinceDrawn(3);
    EXPECT_LT((Changed.right - Changed.left) * (Changed.bottom - Changed.top), 100 * 100);
  }
}

// Frames shown at their own size that cover the canvas with opaque colours
// are laid from their colour indexes; every frame, so laid or composited,
// is the player's picture over the background.
TEST(FrameSheet, LaysEveryFrameAtItsOwnSizeAsThePlayerCompositesIt) {
  const TPicture Source = DecodePicture(picture_tests::EveryWayGif(), TPictureFormat::pfGif, ShownLongSide);
  const COLORREF Background = RGB(10, 20, 30);
  const std::uint32_t Under = 0xFF000000u | GetRValue(Background) << 16 | GetGValue(Background) << 8 | GetBValue(Background);
  const RECT Client{0, 0, 16, 14};
  const RECT Dest{2, 1, 14, 11};
  // Made in order, with some made first where nothing comes before.
  for (const std::vector<int>& Order : {std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, std::vector<int>{9, 10, 7, 4}}) {
    TFrameSheet Sheet(Source, Dest, Client, Background);
    TFramePlayer Compositing(Source);
    for (const int Frame : Order) {
      const TPictureFrame& Expected = Compositing.Frame(Frame);
      const std::vector<std::uint32_t> Pixels = Drawn(Sheet, Frame, Client);
      for (int Y = 0; Y < Expected.Height; ++Y)
        for (int X = 0; X < Expected.Width; ++X) {
          const std::uint32_t Own = Expected.Pixels[static_cast<std::size_t>(Y) * Expected.Width + X];
          ASSERT_EQ(Pixels[static_cast<std::size_t>(Y + Dest.top) * Client.right + X + Dest.left], Own ? Own : Under)
              << "frame " << Frame << " at " << X << "," << Y;
        }
    }
  }
}

TEST(Image, KeepsOnlyTheLastFrameOfAFinishedAnimation) {
  TForm Form(nullptr);
  TImage* Image = ImageFilling(Form, 40, 40);
  Image->SetPicture(SolidPicture(4, 4, {20, 20, 20}, 1));
  Image->SetAnimate(true);
  Form.Show();
  for (int Frame = 0; Frame < 3; ++Frame) {
    UpdateWindow(Image->Handle());
    Image->AdvanceFrame();
  }
  EXPECT_EQ(FrameIndex(*Image), 2);
  EXPECT_FALSE(TimerRunning(AnimationTimer(*Image)));
  EXPECT_EQ(FramesKept(*Image), 1);
  const int Prepared = FramesPrepared(*Image);
  InvalidateRect(Image->Handle(), nullptr, FALSE);
  UpdateWindow(Image->Handle());
  EXPECT_EQ(FramesPrepared(*Image), Prepared);
}

}  // namespace
