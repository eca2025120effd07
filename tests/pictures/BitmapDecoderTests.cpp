#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pictures/PictureDecoder.h"
#include "pictures/PictureErrors.h"
#include "tests/pictures/TestPictures.h"

using namespace tarnwick;
using namespace picture_tests;
using ::testing::HasSubstr;

namespace {

// A bitmap file with an info header of HeaderSize bytes (masks, when given,
// right after its first 40 bytes), a palette of 0x00RRGGBB entries and the
// pixel data as given.
struct BitmapLayout {
  std::uint32_t HeaderSize = 40;
  std::int32_t Width = 0;
  std::int32_t Height = 0;  // negative: rows stored top-down
  std::uint16_t BitCount = 24;
  std::uint32_t Compression = 0;
  std::vector<std::uint32_t> Masks{};
  std::vector<std::uint32_t> Palette{};
  Bytes Pixels{};
};

void Put(Bytes& Out, std::uint32_t Value, int Size) {
  for (int I = 0; I < Size; ++I) Out.push_back(static_cast<std::uint8_t>(Value >> (8 * I)));
}

Bytes MakeBitmap(const BitmapLayout& Layout) {
  Bytes Out{'B', 'M'};
  Put(Out, 0, 4);  // file size, set below
  Put(Out, 0, 4);
  Put(Out, 0, 4);  // pixel offset, set below
  for (std::uint32_t Field : {Layout.HeaderSize, static_cast<std::uint32_t>(Layout.Width), static_cast<std::uint32_t>(Layout.Height)})
    Put(Out, Field, 4);
  Put(Out, 1, 2);
  Put(Out, Layout.BitCount, 2);
  for (std::uint32_t Field : {Layout.Compression, static_cast<std::uint32_t>(Layout.Pixels.size()), 2835u, 2835u,
                              static_cast<std::uint32_t>(Layout.Palette.size()), 0u})
    Put(Out, Field, 4);
  for (std::uint32_t Mask : Layout.Masks) Put(Out, Mask, 4);
  if (Out.size() < 14 + Layout.HeaderSize) Out.resize(14 + Layout.HeaderSize);
  for (std::uint32_t Color : Layout.Palette) Put(Out, Color, 4);
  const std::size_t PixelOffset = Out.size();
  Out.insert(Out.end(), Layout.Pixels.begin(), Layout.Pixels.end());
  for (int I = 0; I < 4; ++I) {
    Out[2 + I] = static_cast<std::uint8_t>(Out.size() >> (8 * I));
    Out[10 + I] = static_cast<std::uint8_t>(PixelOffset >> (8 * I));
  }
  return Out;
}

const std::uint32_t Red = OpaquePixel(255, 0, 0);
const std::uint32_t Green = OpaquePixel(0, 255, 0);
const std::uint32_t Blue = OpaquePixel(0, 0, 255);
const std::uint32_t White = OpaquePixel(255, 255, 255);
const std::uint32_t Black = OpaquePixel(0, 0, 0);
const std::uint32_t Clear = 0;
const std::vector<std::uint32_t> FourColors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

TPictureFrame DecodeFrame(const Bytes& Bitmap) {
  const TPicture Result = DecodePicture(Bitmap, TPictureFormat::pfBitmap, ShownLongSide);
  EXPECT_EQ(Result.Frames.size(), 1u);
  return Result.Frames.at(0);
}

std::string ErrorOf(const Bytes& Bitmap) {
  try {
    DecodePicture(Bitmap, TPictureFormat::pfBitmap, ShownLongSide);
  } catch (const EPictureError& Error) {
    return Error.what();
  }
  return "no error";
}

}  // namespace

TEST(BitmapDecoder, DecodesEachPixelLayout) {
  struct Case {
    const char* Name;
    BitmapLayout Layout;
    std::vector<std::uint32_t> Expected;  // top row first
  };
  const std::vector<Case> Cases = {
      {"24 bits, bottom-up, padded rows",
       {.Width = 2, .Height = 2, .Pixels = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0}},
       {Red, White, Blue, Green}},
      {"24 bits, top-down",
       {.Width = 2, .Height = -2, .Pixels = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0}},
       {Blue, Green, Red, White}},
      {"32 bits without fields: the fourth byte is not alpha",
       {.Width = 2, .Height = 1, .BitCount = 32, .Pixels = {1, 2, 3, 77, 4, 5, 6, 0}},
       {OpaquePixel(3, 2, 1), OpaquePixel(6, 5, 4)}},
      {"32 bits, fields with alpha in a V3 header",
       {.HeaderSize = 56, .Width = 2, .Height = 1, .BitCount = 32, .Compression = 3,
        .Masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, .Pixels = {0, 0, 255, 128, 255, 255, 255, 0}},
       {PremultipliedPixel(255, 0, 0, 128), Clear}},
      {"16 bits, 5-5-5 without fields",
       {.Width = 2, .Height = 1, .BitCount = 16, .Pixels = {0x00, 0x7C, 0xE0, 0x03}},
       {Red, Green}},
      {"16 bits, 5-6-5 fields after the header",
       {.Width = 2, .Height = 1, .BitCount = 16, .Compression = 3, .Masks = {0xF800, 0x07E0, 0x001F},
        .Pixels = {0xE0, 0x07, 0x41, 0x08}},
       {Green, OpaquePixel(8, 8, 8)}},
      {"1 bit", {.Width = 3, .Height = 1, .BitCount = 1, .Palette = {0x000000, 0xFFFFFF}, .Pixels = {0xA0, 0, 0, 0}},
       {White, Black, White}},
      {"4 bits", {.Width = 3, .Height = 1, .BitCount = 4, .Palette = FourColors, .Pixels = {0x12, 0x30, 0, 0}},
       {Red, Green, Blue}},
      {"8 bits, index past a short palette is black",
       {.Width = 2, .Height = 1, .BitCount = 8, .Palette = {0x000000, 0xFFFFFF}, .Pixels = {1, 7, 0, 0}},
       {White, Black}},
      {"RLE8: runs, absolute mode, end of line, delta, skipped pixels clear",
       {.Width = 4, .Height = 3, .BitCount = 8, .Compression = 1, .Palette = FourColors,
        .Pixels = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 0, 2, 3, 0, 1}},
       {Clear, Blue, Blue, Clear, Green, Blue, Red, Clear, Red, Red, Red, Clear}},
      {"RLE4: alternating runs, absolute nibbles",
       {.Width = 4, .Height = 2, .BitCount = 4, .Compression = 2, .Palette = FourColors,
        .Pixels = {4, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1}},
       {Blue, Red, Green, Clear, Red, Green, Red, Green}},
  };
  for (const Case& C : Cases) {
    const TPictureFrame Frame = DecodeFrame(MakeBitmap(C.Layout));
    EXPECT_EQ(Frame.Width, C.Layout.Width) << C.Name;
    EXPECT_EQ(Frame.Height, std::abs(C.Layout.Height)) << C.Name;
    EXPECT_EQ(Frame.Pixels, C.Expected) << C.Name;
  }
}

TEST(BitmapDecoder, MatchesThePngOfEveryVariantAnotherEncoderWrote) {
  struct Case {
    const char* Bitmap;
    const char* Reference;
    int Tolerance;
  };
  for (const Case& C : {
           Case{"rgb24.bmp", "reference.png", 0},
           Case{"os2-rgb24.bmp", "reference.png", 0},
           Case{"pal8.bmp", "reference.png", 0},
           Case{"pal8-rle.bmp", "reference.png", 0},
           Case{"pal4.bmp", "few-ref.png", 0},
           Case{"pal1.bmp", "bilevel-ref.png", 0},
           Case{"argb32.bmp", "alpha-ref.png", 0},
           Case{"rgb565.bmp", "reference.png", 8},  // 5 and 6 bits a channel
       }) {
    const TPictureFrame Reference = DecodePicture(ReadFixture(C.Reference), TPictureFormat::pfPng, ShownLongSide).Frames.at(0);
    EXPECT_LE(FrameDistance(DecodeFrame(ReadFixture(C.Bitmap)), Reference), C.Tolerance) << C.Bitmap;
  }
}

TEST(BitmapDecoder, RefusesDamagedAndUnsupportedFiles) {
  const BitmapLayout Rgb{.Width = 2, .Height = 2, .Pixels = Bytes(16)};
  const auto With = [&](auto Change) {
    BitmapLayout Layout = Rgb;
    Change(Layout);
    return MakeBitmap(Layout);
  };
  struct Case {
    const char* Name;
    Bytes Bitmap;
    const char* Reason;
  };
  const Bytes Good = MakeBitmap(Rgb);
  const std::vector<Case> Cases = {
      {"another type", EncodePng(RgbaImage(2, 2)), "ビットマップ ファイルではありません"},
      {"headers cut short", Bytes(Good.begin(), Good.begin() + 30), "途中で切れています"},
      {"pixels cut short", Bytes(Good.begin(), Good.end() - 4), "途中で切れています"},
      {"unknown header", With([](BitmapLayout& S) { S.HeaderSize = 64; }), "対応していないビットマップ形式です (ヘッダー)"},
      {"JPEG inside", With([](BitmapLayout& S) { S.Compression = 4; }), "圧縮形式"},
      {"RLE8 of 24 bits", With([](BitmapLayout& S) { S.Compression = 1; }), "ビット数"},
      {"no width", With([](BitmapLayout& S) { S.Width = 0; }), "幅または高さが 0 です"},
      {"no height", With([](BitmapLayout& S) { S.Height = 0; }), "幅または高さが 0 です"},
      {"most negative height", With([](BitmapLayout& S) { S.Height = INT32_MIN; }), "大きすぎます"},
      {"run-length data top-down",
       With([](BitmapLayout& S) { S = {.Width = 2, .Height = -2, .BitCount = 8, .Compression = 1, .Pixels = {0, 1}}; }),
       "上から下へ"},
      {"runs without an end",
       With([](BitmapLayout& S) { S = {.Width = 2, .Height = 2, .BitCount = 8, .Compression = 1,
                                     .Palette = {0, 0xFFFFFF}, .Pixels = {2, 0, 0, 0}}; }),
       "途中で切れています"},
      {"scattered mask",
       With([](BitmapLayout& S) { S = {.Width = 1, .Height = 1, .BitCount = 16, .Compression = 3,
                                     .Masks = {0xF0F0, 0x0F00, 0x000F}, .Pixels = {0, 0, 0, 0}}; }),
       "不連続な色マスク"},
      {"a bomb", With([](BitmapLayout& S) { S.Width = S.Height = 100000; }), "画像が大きすぎます (100000 × 100000 ピクセル)"},
      {"too wide", With([](BitmapLayout& S) { S.Width = 16385; S.Height = 1; }), "画像が大きすぎます"},
  };
  for (const Case& C : Cases) EXPECT_THAT(ErrorOf(C.Bitmap), HasSubstr(C.Reason)) << C.Name;
}
