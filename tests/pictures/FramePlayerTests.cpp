#include <gtest/gtest.h>

#include <gif_lib.h>

#include "pictures/FramePlayer.h"
#include "pictures/PictureDecoder.h"
#include "tests/pictures/TestPictures.h"

using namespace tarnwick;
using namespace picture_tests;

namespace {

const GifPalette Colors = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

GifFrameLayout Frame(int Left, int Top, int Width, int Height, std::uint8_t Index, int Disposal) {
  GifFrameLayout Layout = FilledGifFrame(Left, Top, Width, Height, Index);
  Layout.Disposal = Disposal;
  return Layout;
}

TPicture Animation() {
  return DecodePicture(EncodeGif(4, 4, Colors,
                                 {Frame(0, 0, 4, 4, 1, DISPOSE_DO_NOT), Frame(1, 1, 2, 2, 2, DISPOSE_BACKGROUND),
                                  Frame(0, 0, 1, 1, 3, DISPOSE_PREVIOUS), Frame(2, 0, 2, 1, 3, DISPOSE_DO_NOT)}),
                       TPictureFormat::pfGif, ShownLongSide);
}

bool SameArea(const TPixelArea& A, const TPixelArea& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

// Whether every pixel in which Before and After differ lies in Area.
bool DiffersOnlyIn(const TPictureFrame& Before, const TPictureFrame& After, const TPixelArea& Area) {
  for (int Y = 0; Y < After.Height; ++Y)
    for (int X = 0; X < After.Width; ++X)
      if (PixelAt(Before, X, Y) != PixelAt(After, X, Y) &&
          !(X >= Area.Left && X < Area.Right && Y >= Area.Top && Y < Area.Bottom))
        return false;
  return true;
}

}  // namespace

TEST(FramePlayer, ReportsWhatEachFrameChangedDisposalsIncluded) {
  const TPicture Source = Animation();
  TFramePlayer Player(Source);
  const struct {
    int Index;
    TPixelArea Changed;
  } Steps[] = {
      {0, {0, 0, 4, 4}},  // the first, as decoded with the picture: everything
      {1, {0, 0, 4, 4}},  // the canvas starts: everything
      {2, {0, 0, 3, 3}},  // the square cleared and the corner drawn
      {3, {0, 0, 4, 1}},  // the corner restored and the bar drawn
      {3, {}},            // the same frame again
      {0, {0, 0, 4, 4}},  // back: started again
      {1, {1, 1, 3, 3}},  // the square drawn
      {3, {0, 0, 4, 3}},  // two frames on at once
  };
  TPictureFrame Before{4, 4, std::vector<std::uint32_t>(16), 0};
  for (const auto& Step : Steps) {
    const TPictureFrame& Made = Player.Frame(Step.Index);
    const TPixelArea Changed = Player.Changed();
    EXPECT_TRUE(SameArea(Changed, Step.Changed) || (Changed.Empty() && Step.Changed.Empty()))
        << "frame " << Step.Index << ": " << Changed.Left << "," << Changed.Top << "," << Changed.Right << ","
        << Changed.Bottom;
    EXPECT_TRUE(DiffersOnlyIn(Before, Made, Changed)) << "frame " << Step.Index;
    EXPECT_EQ(Made.Pixels, PlayedFrames(Source)[static_cast<std::size_t>(Step.Index)].Pixels);
    Before = Made;
  }
}

TEST(FramePlayer, HandsOutDecodedFramesAsTheyAre) {
  const TPicture Still = DecodePicture(ReadFixture("reference.png"), TPictureFormat::pfPng, ShownLongSide);
  TFramePlayer Player(Still);
  EXPECT_EQ(&Player.Frame(0), &Still.Frames[0]);
  EXPECT_TRUE(SameArea(Player.Changed(), {0, 0, Still.Frames[0].Width, Still.Frames[0].Height}));
  Player.Frame(0);
  EXPECT_TRUE(Player.Changed().Empty());
}

// A frame that covers the canvas with opaque colours and is not restored
// after is handed out as its image alone; the canvas catches up when a later
// frame needs it. Asking for that first, as a sheet does, makes the same
// pictures as compositing every frame.
TEST(FramePlayer, HandsOutAFrameThatCoversTheCanvasAsItsImageAsItWouldCompositeIt) {
  const TPicture Source = DecodePicture(EveryWayGif(), TPictureFormat::pfGif, ShownLongSide);
  ASSERT_EQ(Source.FrameCount(), 11);
  TFramePlayer Player(Source);
  TFramePlayer Compositing(Source);
  std::vector<int> Handed;
  for (const int Index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 4, 5, 9, 10, 7, 7, 8}) {
    const TPictureFrame& Expected = Compositing.Frame(Index);
    if (const TGifFrameImage* Image = Player.Opaque(Index)) {
      Handed.push_back(Index);
      std::vector<std::uint32_t> Pixels;
      for (int Y = 0; Y < Expected.Height; ++Y)
        for (int X = 0; X < Expected.Width; ++X) Pixels.push_back(Image->Colors[Image->Indexes[static_cast<std::size_t>(Y) * Image->Width + X]]);
      EXPECT_EQ(Pixels, Expected.Pixels) << "frame " << Index;
      EXPECT_TRUE(SameArea(Player.Changed(), {0, 0, 12, 10})) << "frame " << Index;
    } else {
      EXPECT_EQ(Player.Frame(Index).Pixels, Expected.Pixels) << "frame " << Index;
    }
  }
  // Not the first, decoded with the picture, nor those with clear pixels or
  // restored after.
  EXPECT_EQ(Handed, (std::vector<int>{4, 7, 9, 0, 4, 9, 7, 7}));
}
