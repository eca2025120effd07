#include "pictures/AreaReduction.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace tarnwick {
namespace {

// The rounded quotient of each sum by a total, multiplied by the total's
// inverse, which is several times faster than dividing and exact here: the
// operands are whole numbers far below 2^53, a quotient below 256 that is
// not whole lies at least 1/Total from the next whole number, and half that
// added lifts a whole quotient the multiplication left just below itself.
struct TAveraging {
  explicit TAveraging(std::uint64_t Total)
      : Half(static_cast<double>(Total / 2)),
        Inverse(1.0 / static_cast<double>(Total)),
        Lift(0.5 / static_cast<double>(Total)) {}

  template <typename Sum>
  std::uint32_t operator()(const Sum* Sums) const {
    std::uint32_t Pixel = 0;
    for (int C = 0; C < 4; ++C) {
      // Through a signed integer, which converts in one instruction.
      const auto Whole = static_cast<double>(static_cast<std::int64_t>(Sums[C]));
      Pixel |= static_cast<std::uint32_t>((Whole + Half) * Inverse + Lift) << (8 * C);
    }
    return Pixel;
  }

  double Half;
  double Inverse;
  double Lift;
};

// The reduced pixels of one axis that the source pixels Begin to End - 1
// overlap.
std::pair<int, int> AffectedRange(int Begin, int End, int From, int To) {
  const auto Scaled = [&](int Source) { return std::int64_t{Source} * To; };
  const auto First = static_cast<int>(Scaled(Begin) / From);
  const auto Last = static_cast<int>((Scaled(End) + From - 1) / From);
  return {std::clamp(First, 0, To), std::clamp(Last, 0, To)};
}

}  // namespace

TAreaReducer::TAxis::TAxis(int Source, int Destination)
    : From(Source), To(Destination), Length(static_cast<std::uint32_t>(Source / std::gcd(Source, Destination))) {
  const std::int64_t SourceLength = Destination / std::gcd(Source, Destination);
  First.reserve(static_cast<std::size_t>(Destination) + 1);
  for (std::int64_t D = 0; D < Destination; ++D) {
    First.push_back(Taps.size());
    const std::int64_t Begin = D * Length;
    const std::int64_t End = Begin + Length;
    for (std::int64_t S = Begin / SourceLength; S * SourceLength < End; ++S) {
      const std::int64_t Overlap = std::min(End, (S + 1) * SourceLength) - std::max(Begin, S * SourceLength);
      Taps.push_back({static_cast<int>(S), static_cast<std::uint32_t>(Overlap)});
    }
  }
  First.push_back(Taps.size());
}

TAreaReducer::TAreaReducer(TRasterSize From, TRasterSize To) : FX(From.Width, To.Width), FY(From.Height, To.Height) {}

TPixelArea TAreaReducer::Affected(const TPixelArea& Part) const {
  if (Part.Empty()) return {};
  const auto [Left, Right] = AffectedRange(Part.Left, Part.Right, FX.From, FX.To);
  const auto [Top, Bottom] = AffectedRange(Part.Top, Part.Bottom, FY.From, FY.To);
  const TPixelArea Result{Left, Top, Right, Bottom};
  return Result.Empty() ? TPixelArea{} : Result;
}

// One source row reduced along x for the reduced columns Left to Right - 1:
// four channel sums (blue, green, red, alpha) a pixel. A sum is at most 255
// times the source width, which 32 bits hold for any width a picture may have.
void TAreaReducer::ReduceRow(const std::uint32_t* Row, int Left, int Right, std::uint32_t* Sums) const {
  for (auto D = static_cast<std::size_t>(Left); D < static_cast<std::size_t>(Right); ++D, Sums += 4) {
    std::uint32_t Blue = 0, Green = 0, Red = 0, Alpha = 0;
    for (std::size_t T = FX.First[D]; T < FX.First[D + 1]; ++T) {
      const std::uint32_t Pixel = Row[FX.Taps[T].SourceIndex];
      const std::uint32_t Weight = FX.Taps[T].Weight;
      Blue += Weight * (Pixel & 0xFF);
      Green += Weight * (Pixel >> 8 & 0xFF);
      Red += Weight * (Pixel >> 16 & 0xFF);
      Alpha += Weight * (Pixel >> 24);
    }
    Sums[0] = Blue, Sums[1] = Green, Sums[2] = Red, Sums[3] = Alpha;
  }
}

void TAreaReducer::Reduce(const TPictureFrame& Source, const TPixelArea& Part, std::uint32_t* Out, std::size_t Stride) {
  // A reduced pixel's sums are at most 255 times its weights' total.
  const std::uint64_t Largest = std::uint64_t{255} * FX.Length * FY.Length;
  if (Largest <= std::numeric_limits<std::uint32_t>::max())
    ReduceWith(Source, Part, Out, Stride, FNarrowSums);
  else
    ReduceWith(Source, Part, Out, Stride, FWideSums);
}

template <typename Sum>
void TAreaReducer::ReduceWith(const TPictureFrame& Source, const TPixelArea& Part, std::uint32_t* Out,
                             std::size_t Stride, std::vector<Sum>& Sums) {
  const TAveraging Average(std::uint64_t{FX.Length} * FY.Length);
  const auto Width = static_cast<std::size_t>(Part.Right - Part.Left);
  FRowSums.resize(Width * 4);
  Sums.resize(Width * 4);
  // A source row on the border of two reduced rows serves both, and is
  // reduced along x only once.
  int ReducedRow = -1;
  for (int D = Part.Top; D < Part.Bottom; ++D, Out += Stride) {
    const std::size_t FirstTap = FY.First[static_cast<std::size_t>(D)];
    for (std::size_t T = FirstTap; T < FY.First[static_cast<std::size_t>(D) + 1]; ++T) {
      const int SourceRow = FY.Taps[T].SourceIndex;
      if (SourceRow != ReducedRow) {
        ReduceRow(Source.Pixels.data() + static_cast<std::size_t>(SourceRow) * Source.Width, Part.Left, Part.Right,
                  FRowSums.data());
        ReducedRow = SourceRow;
      }
      const Sum Weight = FY.Taps[T].Weight;
      if (T == FirstTap)
        for (std::size_t I = 0; I < Sums.size(); ++I) Sums[I] = Weight * FRowSums[I];
      else
        for (std::size_t I = 0; I < Sums.size(); ++I) Sums[I] += Weight * FRowSums[I];
    }
    for (std::size_t I = 0; I < Width; ++I) Out[I] = Average(Sums.data() + 4 * I);
  }
}

TRasterSize KeptSize(int Width, int Height, int MaxLongSide) {
  const std::int64_t Limit = std::max(MaxLongSide, 1);
  const std::int64_t Long = std::max(Width, Height);
  if (Long <= Limit) return {Width, Height};
  const auto Scaled = [&](std::int64_t Side) {
    return static_cast<int>(std::max<std::int64_t>(1, (Side * Limit + Long / 2) / Long));
  };
  return {Scaled(Width), Scaled(Height)};
}

TPictureFrame Reduced(const TPictureFrame& Source, int Width, int Height) {
  TPictureFrame Result{Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width) * Height),
                      Source.DelayMs};
  TAreaReducer Reducer({Source.Width, Source.Height}, {Width, Height});
  Reducer.Reduce(Source, {0, 0, Width, Height}, Result.Pixels.data(), static_cast<std::size_t>(Width));
  return Result;
}

TPictureFrame FittedFrame(const TPictureFrame& Frame, int NominalWidth, int NominalHeight, int MaxLongSide) {
  const TRasterSize Kept = KeptSize(NominalWidth, NominalHeight, MaxLongSide);
  if (Frame.Width == Kept.Width && Frame.Height == Kept.Height) return Frame;
  return Reduced(Frame, Kept.Width, Kept.Height);
}

TPictureFrame FittedFrame(TPictureFrame&& Frame, int NominalWidth, int NominalHeight, int MaxLongSide) {
  const TRasterSize Kept = KeptSize(NominalWidth, NominalHeight, MaxLongSide);
  if (Frame.Width == Kept.Width && Frame.Height == Kept.Height) return std::move(Frame);
  return Reduced(Frame, Kept.Width, Kept.Height);
}

}  // namespace tarnwick
