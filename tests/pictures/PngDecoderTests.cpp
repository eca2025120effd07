#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <zlib.h>

#include "pictures/PictureDecoder.h"
#include "pictures/PictureErrors.h"
#include "tests/pictures/TestPictures.h"

using namespace tarnwick;
using namespace picture_tests;
using ::testing::HasSubstr;

namespace {

TPictureFrame DecodeFrame(const Bytes& Png) {
  const TPicture Result = DecodePicture(Png, TPictureFormat::pfPng, ShownLongSide);
  EXPECT_EQ(Result.Frames.size(), 1u);
  return Result.Frames.at(0);
}

std::string ErrorOf(const Bytes& Png) {
  try {
    DecodePicture(Png, TPictureFormat::pfPng, ShownLongSide);
  } catch (const EPictureError& Error) {
    return Error.what();
  }
  return "no error";
}

// Colours and alpha that change across the picture, some pixels clear.
RgbaImage Translucent(int Width, int Height) {
  RgbaImage Image(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      Image.Set(X, Y, static_cast<std::uint8_t>(X * 50), static_cast<std::uint8_t>(255 - Y * 70),
                static_cast<std::uint8_t>(X * Y * 30), static_cast<std::uint8_t>(X * 63));
  return Image;
}

void PutBigEndian(Bytes& Data, std::size_t Offset, std::uint32_t Value) {
  for (int I = 0; I < 4; ++I) Data[Offset + I] = static_cast<std::uint8_t>(Value >> (24 - 8 * I));
}

// The header chunk's width and height set, with its checksum made right again.
Bytes WithDeclaredSize(Bytes Png, std::uint32_t Width, std::uint32_t Height) {
  PutBigEndian(Png, 16, Width);
  PutBigEndian(Png, 20, Height);
  PutBigEndian(Png, 29, static_cast<std::uint32_t>(crc32(0, Png.data() + 12, 17)));
  return Png;
}

}  // namespace

TEST(PngDecoder, DecodesStraightAlphaToPremultipliedPixels) {
  const RgbaImage Image = Translucent(5, 3);
  const TPicture Result = DecodePicture(EncodePng(Image), TPictureFormat::pfPng, ShownLongSide);
  EXPECT_EQ(Result.NominalWidth, 5);
  EXPECT_EQ(Result.NominalHeight, 3);
  ASSERT_EQ(Result.Frames.size(), 1u);
  EXPECT_EQ(Result.Frames[0].Pixels, PremultipliedFrame(Image).Pixels);
}

TEST(PngDecoder, ReadsInterlacedPaletteSixteenBitAndGrayFiles) {
  const TPictureFrame Reference = DecodeFrame(ReadFixture("reference.png"));
  EXPECT_EQ(FrameDistance(DecodeFrame(ReadFixture("interlaced.png")), Reference), 0);
  EXPECT_EQ(FrameDistance(DecodeFrame(ReadFixture("palette.png")), Reference), 0);
  const TPictureFrame AlphaReference = DecodeFrame(ReadFixture("alpha-ref.png"));
  EXPECT_LE(FrameDistance(DecodeFrame(ReadFixture("rgba16.png")), AlphaReference), 1);
  const TPictureFrame Gray = DecodeFrame(ReadFixture("gray-alpha.png"));
  ASSERT_EQ(Gray.Pixels.size(), AlphaReference.Pixels.size());
  for (std::size_t I = 0; I < Gray.Pixels.size(); ++I) {
    const std::uint32_t P = Gray.Pixels[I];
    EXPECT_EQ(P >> 24, AlphaReference.Pixels[I] >> 24);
    EXPECT_TRUE((P & 0xFF) == (P >> 8 & 0xFF) && (P & 0xFF) == (P >> 16 & 0xFF));
  }
}

TEST(PngDecoder, ReducesALargePictureToTheSizeShown) {
  RgbaImage Image(1200, 800);
  for (std::size_t I = 0; I < Image.Rgba.size(); I += 4) Image.Rgba[I + 2] = Image.Rgba[I + 3] = 255;
  const TPicture Result = DecodePicture(EncodePng(Image), TPictureFormat::pfPng, ShownLongSide);
  EXPECT_EQ(Result.NominalWidth, 1200);
  EXPECT_EQ(Result.NominalHeight, 800);
  EXPECT_EQ(Result.Frames[0].Width, 600);
  EXPECT_EQ(Result.Frames[0].Height, 400);
  EXPECT_EQ(Result.Frames[0].Pixels, std::vector<std::uint32_t>(600 * 400, OpaquePixel(0, 0, 255)));
}

TEST(PngDecoder, RefusesDamagedFiles) {
  const Bytes Good = EncodePng(Translucent(40, 30));
  EXPECT_NE(ErrorOf(Bytes(Good.begin(), Good.end() - 30)), "no error");
  Bytes BadChecksum = Good;
  BadChecksum[Good.size() - 20] ^= 0x55;  // inside the image data
  EXPECT_NE(ErrorOf(BadChecksum), "no error");
  EXPECT_THAT(ErrorOf(ReadFixture("gray.jpg")), HasSubstr("Not a PNG file"));
  EXPECT_NE(ErrorOf({}), "no error");
}

TEST(PngDecoder, RefusesADeclaredSizeTooLargeToHold) {
  const Bytes Good = EncodePng(Translucent(4, 4));
  EXPECT_THAT(ErrorOf(WithDeclaredSize(Good, 20000, 20000)), HasSubstr("画像が大きすぎます (20000 × 20000 ピクセル)"));
  EXPECT_THAT(ErrorOf(WithDeclaredSize(Good, 16385, 1)), HasSubstr("画像が大きすぎます"));
}
