#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pictures/JpegDecoder.h"
#include "pictures/PictureDecoder.h"
#include "pictures/PictureErrors.h"
#include "tests/pictures/TestPictures.h"

using namespace tarnwick;
using namespace picture_tests;
using ::testing::HasSubstr;

namespace {

const std::uint32_t Red = OpaquePixel(220, 30, 40);
const std::uint32_t Blue = OpaquePixel(20, 60, 210);

// A red block left of a blue one, as the fixtures hold it.
RgbaImage Blocks(int Width, int Height) {
  RgbaImage Image(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) X < Width / 2 ? Image.Set(X, Y, 220, 30, 40) : Image.Set(X, Y, 20, 60, 210);
  return Image;
}

TPicture Decode(const Bytes& Jpeg, int MaxLongSide = ShownLongSide) {
  return DecodePicture(Jpeg, TPictureFormat::pfJpeg, MaxLongSide);
}

// Detail everywhere, so that most of the file is entropy-coded data.
RgbaImage Textured(int Width, int Height) {
  RgbaImage Image(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      Image.Set(X, Y, static_cast<std::uint8_t>(X * 7 + Y * 13), static_cast<std::uint8_t>(X * Y), static_cast<std::uint8_t>((X ^ Y) * 5));
  return Image;
}

std::string ErrorOf(const Bytes& Jpeg) {
  try {
    Decode(Jpeg);
  } catch (const EPictureError& Error) {
    return Error.what();
  }
  return "no error";
}

// The frame's colour well inside each block.
void ExpectBlocks(const TPictureFrame& Frame, std::uint32_t Left, std::uint32_t Right, int Tolerance) {
  const int Y = Frame.Height / 2;
  EXPECT_LE(ChannelDistance(PixelAt(Frame, Frame.Width / 8, Y), Left), Tolerance);
  EXPECT_LE(ChannelDistance(PixelAt(Frame, Frame.Width * 7 / 8, Y), Right), Tolerance);
}

// The grey the fixture script's encoder made of a colour (Rec. 709 weights).
std::uint32_t Gray(std::uint32_t Pixel) {
  const std::uint32_t Luma = ((Pixel >> 16 & 0xFF) * 2126 + (Pixel >> 8 & 0xFF) * 7152 + (Pixel & 0xFF) * 722) / 10000;
  return OpaquePixel(Luma, Luma, Luma);
}

}  // namespace

TEST(JpegDecoder, DecodesAtItsOwnSizeWhenItFits) {
  const TPicture Result = Decode(EncodeJpeg(Blocks(32, 16)));
  EXPECT_EQ(Result.NominalWidth, 32);
  EXPECT_EQ(Result.NominalHeight, 16);
  ASSERT_EQ(Result.Frames.size(), 1u);
  EXPECT_EQ(Result.Frames[0].Width, 32);
  EXPECT_EQ(Result.Frames[0].Height, 16);
  ExpectBlocks(Result.Frames[0], Red, Blue, 6);
}

TEST(JpegDecoder, ReadsProgressiveGrayAndCmykFiles) {
  ExpectBlocks(Decode(ReadFixture("progressive.jpg")).Frames.at(0), Red, Blue, 6);
  ExpectBlocks(Decode(ReadFixture("gray.jpg")).Frames.at(0), Gray(Red), Gray(Blue), 6);
  ExpectBlocks(Decode(ReadFixture("cmyk.jpg")).Frames.at(0), Red, Blue, 12);
}

TEST(JpegDecoder, PicksTheSmallestDctScaleStillAsLargeAsShown) {
  struct Case {
    int Width, Height, MaxLongSide, Eighths;
  };
  for (const Case& C : {
           Case{4000, 3000, 600, 2},  // 1000 x 750; 1/8 would give 500
           Case{3000, 4000, 600, 2},
           Case{2400, 1800, 600, 2},  // exactly 600
           Case{1000, 750, 600, 5},   // 625 x 469
           Case{601, 400, 600, 8},    // 7/8 would give 526
           Case{600, 400, 600, 8},
           Case{16384, 16384, 600, 1},
       }) {
    EXPECT_EQ(JpegScaleEighths(C.Width, C.Height, C.MaxLongSide), C.Eighths) << C.Width << "x" << C.Height;
  }
}

TEST(JpegDecoder, DecodesALargePictureScaledToTheSizeShown) {
  const TPicture Result = Decode(EncodeJpeg(Blocks(4000, 3000), 80));
  EXPECT_EQ(Result.NominalWidth, 4000);
  EXPECT_EQ(Result.NominalHeight, 3000);
  ASSERT_EQ(Result.Frames.size(), 1u);
  EXPECT_EQ(Result.Frames[0].Width, 600);
  EXPECT_EQ(Result.Frames[0].Height, 450);
  ExpectBlocks(Result.Frames[0], Red, Blue, 8);
  // At a high DPI the popup is larger, and so is the raster.
  const TPicture Large = Decode(EncodeJpeg(Blocks(4000, 3000), 80), 1200);
  EXPECT_EQ(Large.Frames[0].Width, 1200);
  EXPECT_EQ(Large.Frames[0].Height, 900);
}

TEST(JpegDecoder, RefusesDamagedFilesWithTheLibrarysWords) {
  const Bytes Good = EncodeJpeg(Textured(64, 64));
  const Bytes Truncated(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Good.size() * 3 / 4));
  EXPECT_THAT(ErrorOf(Truncated), HasSubstr("Premature end of JPEG file"));
  EXPECT_THAT(ErrorOf(EncodePng(Blocks(4, 4))), HasSubstr("Not a JPEG file"));
  EXPECT_THAT(ErrorOf({}), HasSubstr("Empty input file"));
  // A marker in the middle of the entropy-coded data.
  Bytes Corrupt = Good;
  Corrupt[Good.size() * 3 / 4] = 0xFF;
  Corrupt[Good.size() * 3 / 4 + 1] = 0xD9;
  EXPECT_THAT(ErrorOf(Corrupt), HasSubstr("Corrupt JPEG data"));
}

TEST(JpegDecoder, RefusesADeclaredSizeTooLargeToHold) {
  Bytes Bomb = EncodeJpeg(Blocks(16, 16));
  // The baseline frame header: FF C0, length, precision, height, width.
  const std::uint8_t Marker[] = {0xFF, 0xC0};
  const auto Frame = std::search(Bomb.begin(), Bomb.end(), std::begin(Marker), std::end(Marker));
  ASSERT_NE(Frame, Bomb.end());
  Frame[5] = Frame[7] = 0xEA;  // 60000 x 60000
  Frame[6] = Frame[8] = 0x60;
  EXPECT_THAT(ErrorOf(Bomb), HasSubstr("画像が大きすぎます (60000 × 60000 ピクセル)"));
}
