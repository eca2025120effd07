#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "pictures/AreaReduction.h"
#include "tests/pictures/TestPictures.h"

using namespace tarnwick;
using namespace picture_tests;

namespace {

TPictureFrame Filled(int Width, int Height, std::uint32_t Pixel) {
  return {Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width) * Height, Pixel), 0};
}

}  // namespace

TEST(AreaReduction, KeepsTheAspectRatioWithinTheLongSide) {
  struct Case {
    int Width, Height, MaxLongSide, KeptWidth, KeptHeight;
  };
  for (const Case& C : {
           Case{250, 250, 600, 250, 250},   // fits: its own size
           Case{4000, 3000, 600, 600, 450},
           Case{3000, 4000, 600, 450, 600},
           Case{1000, 3, 400, 400, 1},      // 1.2 rounds to 1
           Case{16384, 2, 600, 600, 1},     // never below one pixel
           Case{1001, 1000, 1000, 1000, 999},
           Case{7, 3, 0, 1, 1},             // a long side below 1 counts as 1
       }) {
    const TRasterSize Kept = KeptSize(C.Width, C.Height, C.MaxLongSide);
    EXPECT_EQ(Kept.Width, C.KeptWidth) << C.Width << "x" << C.Height;
    EXPECT_EQ(Kept.Height, C.KeptHeight) << C.Width << "x" << C.Height;
  }
}

TEST(AreaReduction, WeighsEachSourcePixelByTheAreaItCovers) {
  // Three pixels into two: each new pixel covers one and a half old ones.
  const TPictureFrame Source{3, 1, {OpaquePixel(0, 0, 0), OpaquePixel(0, 0, 90), OpaquePixel(0, 0, 180)}, 0};
  const TPictureFrame Result = Reduced(Source, 2, 1);
  EXPECT_EQ(Result.Pixels, (std::vector<std::uint32_t>{OpaquePixel(0, 0, 30), OpaquePixel(0, 0, 150)}));
}

TEST(AreaReduction, AveragesPremultipliedSoClearPixelsAddNoColour) {
  // Opaque white beside clear black: half-covered white, not a grey edge.
  const TPictureFrame Source{2, 1, {OpaquePixel(255, 255, 255), 0}, 0};
  EXPECT_EQ(Reduced(Source, 1, 1).Pixels[0], 0x80808080u);
}

TEST(AreaReduction, AFineCheckerboardBecomesEvenGrey) {
  TPictureFrame Source = Filled(100, 60, OpaquePixel(0, 0, 0));
  for (int Y = 0; Y < 60; ++Y)
    for (int X = (Y % 2); X < 100; X += 2) Source.Pixels[Y * 100 + X] = OpaquePixel(255, 255, 255);
  // Never picked pixels: those would be black or white.
  EXPECT_EQ(Reduced(Source, 25, 15).Pixels, std::vector<std::uint32_t>(25 * 15, OpaquePixel(128, 128, 128)));
}

TEST(AreaReduction, FittedFrameReducesOnlyWhatIsLargerThanKept) {
  const TPictureFrame Small = Filled(300, 200, OpaquePixel(1, 2, 3));
  const TPictureFrame Kept = FittedFrame(Small, 300, 200, 600);
  EXPECT_EQ(Kept.Pixels, Small.Pixels);
  // A raster decoded at half its nominal size is taken to the nominal kept size.
  const TPictureFrame Half = FittedFrame(Filled(1000, 500, OpaquePixel(1, 2, 3)), 2000, 1000, 600);
  EXPECT_EQ(Half.Width, 600);
  EXPECT_EQ(Half.Height, 300);
  EXPECT_EQ(Half.Pixels, std::vector<std::uint32_t>(600 * 300, OpaquePixel(1, 2, 3)));
}

namespace {

// Pixels that differ from their neighbours in every channel.
TPictureFrame Varied(int Width, int Height) {
  TPictureFrame Frame = Filled(Width, Height, 0);
  for (int I = 0; I < Width * Height; ++I)
    Frame.Pixels[static_cast<std::size_t>(I)] = PremultipliedPixel(I * 37 % 256, I * 91 % 256, I * 13 % 256, 128 + I % 128);
  return Frame;
}

// Pixel X, Y of Source reduced to Width x Height, worked out directly: each
// source pixel weighed by the area it shares with the reduced one, in units
// where a source pixel is Width x Height long and a reduced one Source's size.
std::uint32_t AreaAverage(const TPictureFrame& Source, int Width, int Height, int X, int Y) {
  const auto Shared = [](std::int64_t Begin, std::int64_t End, std::int64_t SourceBegin, std::int64_t SourceEnd) {
    return std::max<std::int64_t>(0, std::min(End, SourceEnd) - std::max(Begin, SourceBegin));
  };
  const auto Covering = [](int Reduced, int From, int To) {
    return std::pair<int, int>{static_cast<int>(std::int64_t{Reduced} * From / To),
                               static_cast<int>((std::int64_t{Reduced + 1} * From + To - 1) / To)};
  };
  const auto [Top, Bottom] = Covering(Y, Source.Height, Height);
  const auto [Left, Right] = Covering(X, Source.Width, Width);
  std::uint64_t Sums[4] = {};
  for (int SourceY = Top; SourceY < Bottom; ++SourceY) {
    const std::int64_t High = Shared(std::int64_t{Y} * Source.Height, std::int64_t{Y + 1} * Source.Height,
                                     std::int64_t{SourceY} * Height, std::int64_t{SourceY + 1} * Height);
    for (int SourceX = Left; SourceX < Right; ++SourceX) {
      const std::int64_t Wide = Shared(std::int64_t{X} * Source.Width, std::int64_t{X + 1} * Source.Width,
                                       std::int64_t{SourceX} * Width, std::int64_t{SourceX + 1} * Width);
      for (int C = 0; C < 4; ++C)
        Sums[C] += static_cast<std::uint64_t>(High * Wide) * (PixelAt(Source, SourceX, SourceY) >> (8 * C) & 0xFF);
    }
  }
  const auto Total = static_cast<std::uint64_t>(Source.Width) * static_cast<std::uint64_t>(Source.Height);
  std::uint32_t Pixel = 0;
  for (int C = 0; C < 4; ++C) Pixel |= static_cast<std::uint32_t>((Sums[C] + Total / 2) / Total) << (8 * C);
  return Pixel;
}

bool Inside(int X, int Y, const TPixelArea& Area) {
  return X >= Area.Left && X < Area.Right && Y >= Area.Top && Y < Area.Bottom;
}

}  // namespace

// The reduction works in the smallest whole units of each pair of sizes
// and divides through a multiplication where the weights allow: every
// pixel must still be the exact average, rounded half up.
TEST(AreaReduction, EveryPixelIsTheAverageOfTheAreaItCovers) {
  struct Case {
    int Width, Height, ReducedWidth, ReducedHeight;
  };
  for (const Case& C : {
           Case{37, 23, 11, 7},
           Case{640, 480, 600, 450},  // a clip in the popup
           Case{750, 500, 600, 400},  // a JPEG decoded at an eighth, then fitted
           Case{613, 401, 600, 392},  // sides with no common factor
           Case{3, 1, 2, 1},
           Case{9, 4, 9, 2},          // reduced along one axis only
           Case{4099, 1025, 8, 2},    // weights that total more than 2^22
       }) {
    const TPictureFrame Source = Varied(C.Width, C.Height);
    const TPictureFrame Result = Reduced(Source, C.ReducedWidth, C.ReducedHeight);
    for (int Y = 0; Y < C.ReducedHeight; ++Y)
      for (int X = 0; X < C.ReducedWidth; ++X)
        ASSERT_EQ(PixelAt(Result, X, Y), AreaAverage(Source, C.ReducedWidth, C.ReducedHeight, X, Y))
            << C.Width << "x" << C.Height << " to " << C.ReducedWidth << "x" << C.ReducedHeight << " at " << X << ","
            << Y;
  }
}

TEST(AreaReduction, ReducesAnyPartAsTheWholeReductionHasIt) {
  const TPictureFrame Source = Varied(37, 23);
  const TPictureFrame Whole = Reduced(Source, 11, 7);
  TAreaReducer Reducer({37, 23}, {11, 7});
  for (const TPixelArea& Part : {TPixelArea{0, 0, 11, 7}, TPixelArea{3, 2, 4, 3}, TPixelArea{10, 0, 11, 7},
                                TPixelArea{0, 6, 11, 7}, TPixelArea{2, 1, 9, 5}}) {
    const int Width = Part.Right - Part.Left;
    std::vector<std::uint32_t> Out(static_cast<std::size_t>(Width) * (Part.Bottom - Part.Top));
    Reducer.Reduce(Source, Part, Out.data(), static_cast<std::size_t>(Width));
    for (int Y = Part.Top; Y < Part.Bottom; ++Y)
      for (int X = Part.Left; X < Part.Right; ++X)
        ASSERT_EQ(Out[static_cast<std::size_t>((Y - Part.Top) * Width + X - Part.Left)], PixelAt(Whole, X, Y))
            << X << "," << Y;
  }
}

TEST(AreaReduction, ASourceChangeReachesOnlyTheAffectedPixels) {
  const TPictureFrame Source = Varied(37, 23);
  const TPictureFrame Before = Reduced(Source, 11, 7);
  const TAreaReducer Reducer({37, 23}, {11, 7});
  for (const TPixelArea& Part : {TPixelArea{0, 0, 1, 1}, TPixelArea{36, 22, 37, 23}, TPixelArea{10, 3, 14, 9},
                                TPixelArea{3, 0, 4, 23}, TPixelArea{0, 0, 37, 23}}) {
    TPictureFrame Changed = Source;
    for (int Y = Part.Top; Y < Part.Bottom; ++Y)
      for (int X = Part.Left; X < Part.Right; ++X) Changed.Pixels[static_cast<std::size_t>(Y * 37 + X)] ^= 0x00FFFFFFu;
    const TPictureFrame After = Reduced(Changed, 11, 7);
    const TPixelArea Affected = Reducer.Affected(Part);
    for (int Y = 0; Y < 7; ++Y)
      for (int X = 0; X < 11; ++X)
        if (PixelAt(Before, X, Y) != PixelAt(After, X, Y)) {
          EXPECT_TRUE(Inside(X, Y, Affected)) << X << "," << Y << " changed outside the affected part";
        }
    // Not much more, either: the part scaled, and the pixel each end shares.
    EXPECT_LE(Affected.Right - Affected.Left, (Part.Right - Part.Left) * 11 / 37 + 2);
    EXPECT_LE(Affected.Bottom - Affected.Top, (Part.Bottom - Part.Top) * 7 / 23 + 2);
  }
}
