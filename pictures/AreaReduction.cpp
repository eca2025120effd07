#include "AreaReduction.h"

#include <algorithm>
#include <array>
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

using ChannelSums = std::array<std::uint64_t, 4>;

std::uint32_t Channel(std::uint32_t Pixel, int Index) { return Pixel >> (8 * Index) & 0xFF; }

// One source row reduced along x, each sum weighted by the row's Weight.
void AddRow(const std::uint32_t* Row, const AxisWeights& X, std::uint64_t Weight,
            std::vector<ChannelSums>& Sums) {
  for (std::size_t D = 0; D + 1 < X.First.size(); ++D) {
    std::array<std::uint32_t, 4> RowSum{};
    for (std::size_t T = X.First[D]; T < X.First[D + 1]; ++T) {
      const std::uint32_t Pixel = Row[X.Taps[T].SourceIndex];
      for (int C = 0; C < 4; ++C) RowSum[C] += X.Taps[T].Weight * Channel(Pixel, C);
    }
    for (int C = 0; C < 4; ++C) Sums[D][C] += Weight * RowSum[C];
  }
}

std::uint32_t Average(const ChannelSums& Sums, std::uint64_t Total) {
  std::uint32_t Pixel = 0;
  for (int C = 0; C < 4; ++C) Pixel |= static_cast<std::uint32_t>((Sums[C] + Total / 2) / Total) << (8 * C);
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
  std::vector<ChannelSums> Sums(static_cast<std::size_t>(Width));
  for (int D = 0; D < Height; ++D) {
    std::fill(Sums.begin(), Sums.end(), ChannelSums{});
    for (std::size_t T = Y.First[D]; T < Y.First[D + 1]; ++T) {
      const std::size_t RowStart = static_cast<std::size_t>(Y.Taps[T].SourceIndex) * Source.Width;
      AddRow(Source.Pixels.data() + RowStart, X, Y.Taps[T].Weight, Sums);
    }
    std::uint32_t* Out = Result.Pixels.data() + static_cast<std::size_t>(D) * Width;
    for (int I = 0; I < Width; ++I) Out[I] = Average(Sums[I], Total);
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
