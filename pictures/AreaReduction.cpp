#include "AreaReduction.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tarnwick {
namespace {

// How the pixels of one axis of a reduction overlap. Lengths are measured in
// units that make a source pixel Destination long and a destination pixel
// Source long, so every overlap is a whole number and the weights of each
// destination pixel add up to Source.
struct AxisWeights {
  struct Tap {
    int SourceIndex;
    std::uint32_t Weight;
  };
  std::vector<Tap> Taps;
  // Taps[First[D]] up to Taps[First[D + 1]] cover destination pixel D.
  std::vector<std::size_t> First;
};

AxisWeights WeightsFor(int Source, int Destination) {
  AxisWeights Axis;
  Axis.First.reserve(static_cast<std::size_t>(Destination) + 1);
  for (std::int64_t D = 0; D < Destination; ++D) {
    Axis.First.push_back(Axis.Taps.size());
    const std::int64_t Begin = D * Source;
    const std::int64_t End = Begin + Source;
    for (std::int64_t S = Begin / Destination; S * Destination < End; ++S) {
      const std::int64_t Overlap = std::min(End, (S + 1) * Destination) - std::max(Begin, S * Destination);
      Axis.Taps.push_back({static_cast<int>(S), static_cast<std::uint32_t>(Overlap)});
    }
  }
  Axis.First.push_back(Axis.Taps.size());
  return Axis;
}

// One source row reduced along x: four channel sums (blue, green, red,
// alpha) per destination pixel. A sum is at most 255 times the source width,
// which 32 bits hold for any width a picture may have.
void ReduceRow(const std::uint32_t* Row, const AxisWeights& X, std::vector<std::uint32_t>& RowSums) {
  std::uint32_t* Out = RowSums.data();
  for (std::size_t D = 0; D + 1 < X.First.size(); ++D, Out += 4) {
    std::uint32_t Blue = 0, Green = 0, Red = 0, Alpha = 0;
    for (std::size_t T = X.First[D]; T < X.First[D + 1]; ++T) {
      const std::uint32_t Pixel = Row[X.Taps[T].SourceIndex];
      const std::uint32_t Weight = X.Taps[T].Weight;
      Blue += Weight * (Pixel & 0xFF);
      Green += Weight * (Pixel >> 8 & 0xFF);
      Red += Weight * (Pixel >> 16 & 0xFF);
      Alpha += Weight * (Pixel >> 24);
    }
    Out[0] = Blue, Out[1] = Green, Out[2] = Red, Out[3] = Alpha;
  }
}

// The rounded quotient of each sum by Total. Divided as doubles, which is
// several times faster than 64-bit integer division and exact here: the
// operands are whole numbers far below 2^53, and a quotient below 256 that
// is not whole lies at least 1/Total from the next whole number.
std::uint32_t Average(const std::uint64_t* Sums, std::uint64_t Total) {
  const auto Divisor = static_cast<double>(Total);
  std::uint32_t Pixel = 0;
  for (int C = 0; C < 4; ++C)
    Pixel |= static_cast<std::uint32_t>(static_cast<double>(Sums[C] + Total / 2) / Divisor) << (8 * C);
  return Pixel;
}

}  // namespace

RasterSize KeptSize(int Width, int Height, int MaxLongSide) {
  const std::int64_t Limit = std::max(MaxLongSide, 1);
  const std::int64_t Long = std::max(Width, Height);
  if (Long <= Limit) return {Width, Height};
  const auto Scaled = [&](std::int64_t Side) {
    return static_cast<int>(std::max<std::int64_t>(1, (Side * Limit + Long / 2) / Long));
  };
  return {Scaled(Width), Scaled(Height)};
}

PictureFrame Reduced(const PictureFrame& Source, int Width, int Height) {
  const AxisWeights X = WeightsFor(Source.Width, Width);
  const AxisWeights Y = WeightsFor(Source.Height, Height);
  const std::uint64_t Total = static_cast<std::uint64_t>(Source.Width) * static_cast<std::uint64_t>(Source.Height);
  PictureFrame Result{Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width) * Height),
                      Source.DelayMs};
  std::vector<std::uint32_t> RowSums(static_cast<std::size_t>(Width) * 4);
  std::vector<std::uint64_t> Sums(RowSums.size());
  // A source row on the border of two destination rows serves both, and is
  // reduced along x only once.
  int ReducedRow = -1;
  for (int D = 0; D < Height; ++D) {
    std::fill(Sums.begin(), Sums.end(), 0);
    for (std::size_t T = Y.First[D]; T < Y.First[D + 1]; ++T) {
      const int SourceRow = Y.Taps[T].SourceIndex;
      if (SourceRow != ReducedRow) {
        ReduceRow(Source.Pixels.data() + static_cast<std::size_t>(SourceRow) * Source.Width, X, RowSums);
        ReducedRow = SourceRow;
      }
      const std::uint64_t Weight = Y.Taps[T].Weight;
      for (std::size_t I = 0; I < Sums.size(); ++I) Sums[I] += Weight * RowSums[I];
    }
    std::uint32_t* Out = Result.Pixels.data() + static_cast<std::size_t>(D) * Width;
    for (int I = 0; I < Width; ++I) Out[I] = Average(Sums.data() + 4 * static_cast<std::size_t>(I), Total);
  }
  return Result;
}

PictureFrame FittedFrame(const PictureFrame& Frame, int NominalWidth, int NominalHeight, int MaxLongSide) {
  const RasterSize Kept = KeptSize(NominalWidth, NominalHeight, MaxLongSide);
  if (Frame.Width == Kept.Width && Frame.Height == Kept.Height) return Frame;
  return Reduced(Frame, Kept.Width, Kept.Height);
}

PictureFrame FittedFrame(PictureFrame&& Frame, int NominalWidth, int NominalHeight, int MaxLongSide) {
  const RasterSize Kept = KeptSize(NominalWidth, NominalHeight, MaxLongSide);
  if (Frame.Width == Kept.Width && Frame.Height == Kept.Height) return std::move(Frame);
  return Reduced(Frame, Kept.Width, Kept.Height);
}

}  // namespace tarnwick
