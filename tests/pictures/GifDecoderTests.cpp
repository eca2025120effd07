#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <gif_lib.h>

#include "pictures/GifAnimation.h"
#include "pictures/PictureDecoder.h"
#include "pictures/PictureErrors.h"
#include "tests/pictures/TestPictures.h"

using namespace tarnwick;
using namespace picture_tests;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const GifPalette Colors = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
const std::uint32_t K = OpaquePixel(0, 0, 0);
const std::uint32_t R = OpaquePixel(255, 0, 0);
const std::uint32_t G = OpaquePixel(0, 255, 0);
const std::uint32_t B = OpaquePixel(0, 0, 255);
const std::uint32_t _ = 0;  // clear

GifFrameLayout Frame(int Left, int Top, int Width, int Height, std::uint8_t Index, int Disposal, int DelayCs) {
  GifFrameLayout Layout = FilledGifFrame(Left, Top, Width, Height, Index);
  Layout.Disposal = Disposal;
  Layout.DelayCs = DelayCs;
  return Layout;
}

// Four frames on a 4 x 4 canvas, one for each way a frame can be left behind.
std::vector<GifFrameLayout> DisposalFrames() {
  GifFrameLayout Last = Frame(2, 0, 2, 1, 3, DISPOSE_DO_NOT, 2);
  Last.Indexes = {3, 0};
  Last.TransparentIndex = 0;
  return {
      Frame(0, 0, 4, 4, 1, DISPOSE_DO_NOT, 5),      // red everywhere, kept
      Frame(1, 1, 2, 2, 2, DISPOSE_BACKGROUND, 0),  // green square, then cleared
      Frame(0, 0, 1, 1, 3, DISPOSE_PREVIOUS, 1),    // blue corner, then undone
      Last,                                         // blue beside a clear pixel
  };
}

TPicture Decode(const Bytes& Gif, const TPictureLimits& Limits = {}) {
  return DecodePicture(Gif, TPictureFormat::pfGif, ShownLongSide, Limits);
}

std::string ErrorOf(const Bytes& Gif, const TPictureLimits& Limits = {}) {
  try {
    Decode(Gif, Limits);
  } catch (const EPictureError& Error) {
    return Error.what();
  }
  return "no error";
}

}  // namespace

TEST(GifDecoder, CompositesEveryFrameAfterTheDisposalOfTheOneBefore) {
  const TPicture Result = Decode(EncodeGif(4, 4, Colors, DisposalFrames()));
  EXPECT_EQ(Result.NominalWidth, 4);
  EXPECT_EQ(Result.NominalHeight, 4);
  const std::vector<TPictureFrame> Frames = PlayedFrames(Result);
  ASSERT_EQ(Frames.size(), 4u);
  EXPECT_THAT(Frames[0].Pixels, ElementsAre(R, R, R, R, R, R, R, R, R, R, R, R, R, R, R, R));
  EXPECT_THAT(Frames[1].Pixels, ElementsAre(R, R, R, R, R, G, G, R, R, G, G, R, R, R, R, R));
  EXPECT_THAT(Frames[2].Pixels, ElementsAre(B, R, R, R, R, _, _, R, R, _, _, R, R, R, R, R));
  EXPECT_THAT(Frames[3].Pixels, ElementsAre(R, R, B, R, R, _, _, R, R, _, _, R, R, R, R, R));
}

TEST(GifDecoder, KeepsDelaysShowingTheShortestAsBrowsersDo) {
  const TPicture Result = Decode(EncodeGif(4, 4, Colors, DisposalFrames()));
  std::vector<int> Delays;
  for (int Index = 0; Index < Result.FrameCount(); ++Index) Delays.push_back(Result.DelayMs(Index));
  EXPECT_THAT(Delays, ElementsAre(50, 100, 100, 20));
}

TEST(GifDecoder, CountsRunsFromTheLoopExtension) {
  const std::vector<GifFrameLayout> Two = {Frame(0, 0, 2, 2, 1, 0, 10), Frame(0, 0, 2, 2, 2, 0, 10)};
  EXPECT_EQ(Decode(EncodeGif(2, 2, Colors, Two)).LoopCount, 1);      // no extension: once
  EXPECT_EQ(Decode(EncodeGif(2, 2, Colors, Two, 0)).LoopCount, 0);   // forever
  EXPECT_EQ(Decode(EncodeGif(2, 2, Colors, Two, 2)).LoopCount, 3);   // two repeats
  EXPECT_EQ(Decode(EncodeGif(2, 2, Colors, Two, 65535)).LoopCount, 65536);
}

TEST(GifDecoder, ReadsInterlacedRowsIntoPlace) {
  GifFrameLayout Striped = FilledGifFrame(0, 0, 1, 11, 0);
  for (int Y = 0; Y < 11; ++Y) Striped.Indexes[Y] = static_cast<std::uint8_t>(Y % 4);
  Striped.Interlaced = true;
  const TPicture Result = Decode(EncodeGif(1, 11, Colors, {Striped}));
  EXPECT_THAT(Result.Frames.at(0).Pixels, ElementsAre(K, R, G, B, K, R, G, B, K, R, G));
  // The same from another encoder.
  const TPictureFrame Reference = DecodePicture(ReadFixture("reference.png"), TPictureFormat::pfPng, ShownLongSide).Frames.at(0);
  EXPECT_EQ(FrameDistance(Decode(ReadFixture("interlaced.gif")).Frames.at(0), Reference), 0);
}

TEST(GifDecoder, ClipsFramesReachingPastTheCanvas) {
  const std::vector<TPictureFrame> Frames =
      PlayedFrames(Decode(EncodeGif(2, 2, Colors, {Frame(1, 1, 3, 3, 3, 0, 10), Frame(5, 0, 1, 1, 1, 0, 10)})));
  EXPECT_THAT(Frames.at(0).Pixels, ElementsAre(_, _, _, B));
  EXPECT_THAT(Frames.at(1).Pixels, ElementsAre(_, _, _, B));
}

TEST(GifDecoder, ReducesAStillToTheSizeShownAndKeepsAnAnimationCompressed) {
  const Bytes Still = EncodeGif(1200, 300, Colors, {Frame(0, 0, 600, 300, 2, 0, 10)});
  const TPicture Single = Decode(Still);
  EXPECT_EQ(Single.NominalWidth, 1200);
  ASSERT_EQ(Single.Frames.size(), 1u);
  EXPECT_EQ(Single.Frames[0].Width, 600);
  EXPECT_EQ(Single.Frames[0].Height, 150);
  EXPECT_EQ(PixelAt(Single.Frames[0], 100, 75), G);
  EXPECT_EQ(PixelAt(Single.Frames[0], 500, 75), _);

  // Its first frame is decoded as a still's, the others are made at the
  // file's own size as they are shown; what is kept besides is each frame's
  // colour indexes, compressed, and not the file, which is read no more.
  const Bytes Animation = EncodeGif(1200, 300, Colors, {Frame(0, 0, 1200, 300, 1, 0, 10), Frame(0, 0, 600, 300, 2, 0, 10)});
  const TPicture Result = Decode(Animation);
  EXPECT_EQ(Result.NominalWidth, 1200);
  EXPECT_EQ(Result.NominalHeight, 300);
  ASSERT_EQ(Result.Frames.size(), 1u);
  EXPECT_EQ(Result.Frames[0].Width, 600);
  EXPECT_EQ(PixelAt(Result.Frames[0], 500, 75), R);
  ASSERT_TRUE(Result.Animation);
  EXPECT_EQ(Result.Animation->Store().Kept(), 2);
  EXPECT_TRUE(Result.Animation->Bytes().empty());
  const std::vector<TPictureFrame> Frames = PlayedFrames(Result);
  ASSERT_EQ(Frames.size(), 2u);
  EXPECT_EQ(Frames[1].Width, 1200);
  EXPECT_EQ(PixelAt(Frames[1], 200, 150), G);
  EXPECT_EQ(PixelAt(Frames[1], 1000, 150), R);
}

TEST(GifDecoder, ReadsAFileThatOnlyLacksItsTrailer) {
  Bytes Gif = EncodeGif(4, 4, Colors, DisposalFrames());
  ASSERT_EQ(Gif.back(), 0x3B);
  Gif.pop_back();
  EXPECT_EQ(Decode(Gif).FrameCount(), 4);
}

TEST(GifDecoder, RefusesDamagedFilesWholly) {
  const Bytes Good = EncodeGif(40, 40, Colors, {Frame(0, 0, 40, 40, 1, 0, 10), Frame(0, 0, 40, 40, 2, 0, 10)});
  EXPECT_THAT(ErrorOf(Bytes(Good.begin(), Good.end() - 12)), HasSubstr("途中で切れています"));  // inside the last frame
  EXPECT_THAT(ErrorOf(ReadFixture("gray.jpg")), HasSubstr("GIF"));
  EXPECT_NE(ErrorOf({}), "no error");
  // A header, a screen and the trailer: no picture at all.
  Bytes Empty(Good.begin(), Good.begin() + 13 + 3 * 4);
  Empty.push_back(0x3B);
  EXPECT_THAT(ErrorOf(Empty), HasSubstr("画像がありません"));
  // Pixels without any colour table.
  Bytes NoColors = EncodeGif(2, 2, Colors, {Frame(0, 0, 2, 2, 1, 0, 10)});
  NoColors[10] &= 0x7F;
  NoColors.erase(NoColors.begin() + 13, NoColors.begin() + 13 + 3 * 4);
  EXPECT_THAT(ErrorOf(NoColors), HasSubstr("色表がありません"));
}

TEST(GifDecoder, RefusesSizesTooLargeToHold) {
  Bytes Bomb = EncodeGif(2, 2, Colors, {Frame(0, 0, 2, 2, 1, 0, 10)});
  Bomb[6] = Bomb[8] = 0x20;  // a 20000 x 20000 screen
  Bomb[7] = Bomb[9] = 0x4E;
  EXPECT_THAT(ErrorOf(Bomb), HasSubstr("画像が大きすぎます (20000 × 20000 ピクセル)"));

  const std::vector<GifFrameLayout> Four(4, Frame(0, 0, 10, 10, 1, 0, 10));
  const Bytes Animation = EncodeGif(10, 10, Colors, Four);
  EXPECT_EQ(ErrorOf(Animation, {}), "no error");
  EXPECT_THAT(ErrorOf(Animation, {.MaxFrames = 3}), HasSubstr("アニメーションが大きすぎます (4 フレーム目"));
  EXPECT_THAT(ErrorOf(Animation, {.MaxAnimationPixels = 300}), HasSubstr("(4 フレーム目"));
  EXPECT_THAT(ErrorOf(EncodeGif(10, 10, Colors, {Frame(0, 0, 10, 10, 1, 0, 10)}), {.MaxFramePixels = 99}),
              HasSubstr("画像が大きすぎます (10 × 10 ピクセル)"));
}

namespace {

// Frames frames of 640 x 480 as a clip made for the web is stored: a whole
// first frame, then only the small square that moves over it.
std::vector<GifFrameLayout> ClipFrames(int Frames) {
  std::vector<GifFrameLayout> Layouts{Frame(0, 0, 640, 480, 1, DISPOSE_DO_NOT, 4)};
  for (int I = 1; I < Frames; ++I)
    Layouts.push_back(Frame(I * 8 % 608, I * 4 % 448, 32, 32, static_cast<std::uint8_t>(1 + I % 3), DISPOSE_DO_NOT, 4));
  return Layouts;
}

}  // namespace

TEST(GifDecoder, ReadsAnAnimationOfAThousandFramesWithinTheLimits) {
  const std::vector<GifFrameLayout> Layouts = ClipFrames(1000);
  const TPicture Result = Decode(EncodeGif(640, 480, Colors, Layouts, 0));
  ASSERT_EQ(Result.FrameCount(), 1000);
  // Every square stays where it was drawn.
  TPictureFrame Expected{640, 480, std::vector<std::uint32_t>(640 * 480, R), 0};
  for (const GifFrameLayout& Square : std::span(Layouts).subspan(1))
    for (int Y = Square.Top; Y < Square.Top + Square.Height; ++Y)
      std::fill_n(Expected.Pixels.begin() + Y * 640 + Square.Left, Square.Width, OpaquePixel(Colors[Square.Indexes[0]][0],
                  Colors[Square.Indexes[0]][1], Colors[Square.Indexes[0]][2]));
  TFramePlayer Player(Result);
  EXPECT_EQ(Player.Frame(999).Pixels, Expected.Pixels);
}

TEST(GifDecoder, FindsADamagedFrameFarIntoALongAnimation) {
  const Bytes Whole = EncodeGif(640, 480, Colors, ClipFrames(1000), 0);
  EXPECT_THAT(ErrorOf(Bytes(Whole.begin(), Whole.begin() + static_cast<std::ptrdiff_t>(Whole.size() * 9 / 10))),
              HasSubstr("途中で切れています"));
  // Codes past the end of the table in frame 900's data.
  Bytes Defective = Whole;
  const std::size_t Data = Decode(Whole).Animation->Frame(900).Offset + 10 + 2;
  std::fill_n(Defective.begin() + static_cast<std::ptrdiff_t>(Data), 4, 0xFF);
  EXPECT_THAT(ErrorOf(Defective), HasSubstr("defective"));
}
