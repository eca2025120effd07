#include "pictures/AreaReduction.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
__m128i Load(const std::uint32_t* Lanes) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(Lanes)); }
void Store(std::uint32_t* Lanes, __m128i Value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(Lanes), Value); }

// Four 32-bit lanes times Weight (in lanes 0 and 2), each product's low 32
// bits: SSE2 multiplies two lanes at a time.
__m128i Times(__m128i Lanes, __m128i Weight) {
  const __m128i Even = _mm_mul_epu32(Lanes, Weight);
  const __m128i Odd = _mm_mul_epu32(_mm_srli_epi64(Lanes, 32), Weight);
  return _mm_unpacklo_epi32(_mm_shuffle_epi32(Even, _MM_SHUFFLE(0, 0, 2, 0)),
                            _mm_shuffle_epi32(Odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

// The four channel sums of a reduced pixel, divided by the weights' total,
// rounded, and packed into one pixel.
struct TLaneAveraging {
  __m128i Half;
  __m128i Multiplier;
  __m128i Shift;

  std::uint32_t operator()(__m128i Sums) const {
    const __m128i Whole = _mm_add_epi32(Sums, Half);
    const __m128i Even = _mm_srl_epi64(_mm_mul_epu32(Whole, Multiplier), Shift);
    const __m128i Odd = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(Whole, 32), Multiplier), Shift);
    const __m128i Channels = _mm_or_si128(Even, _mm_slli_epi64(Odd, 32));
    const __m128i Words = _mm_packs_epi32(Channels, Channels);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(Words, Words)));
  }
};
#endif

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
      LargestWeight = std::max(LargestWeight, Taps.back().Weight);
    }

  }
  First.push_back(Taps.size());
}

TAreaReducer::TAreaReducer(TRasterSize From, TRasterSize To) : FX(From.Width, To.Width), FY(From.Height, To.Height) {
#if defined(__SSE2__)
  const std::optional<TDivision> Division = DivisionBy(std::uint64_t{FX.Length} * FY.Length);
  // A channel times an x weight, as signed 16-bit numbers.
  if (!Division || FX.LargestWeight > 0x7FFF) return;
  FDivision = *Division;
  FFirstPair.reserve(FX.First.size());
  for (std::size_t D = 0; D + 1 < FX.First.size(); ++D) {
    FFirstPair.push_back(FPairs.size());
    for (std::size_t T = FX.First[D]; T < FX.First[D + 1]; T += 2) {
      const TAxis::TTap& A = FX.Taps[T];
      const TAxis::TTap B = T + 1 < FX.First[D + 1] ? FX.Taps[T + 1] : TAxis::TTap{A.SourceIndex, 0};
      FPairs.push_back({A.SourceIndex, B.SourceIndex, A.Weight | B.Weight << 16});
    }
  }
  FFirstPair.push_back(FPairs.size());
#endif
}

// With Multiplier = ceil(2^Shift / Total), Multiplier * Total exceeds 2^Shift
// by some E < Total, and a dividend N below 256 * Total (any sum plus half
// the total) gives N * Multiplier / 2^Shift = N / Total + N * E / (Total *
// 2^Shift). Shift = 8 + 2 * Bits, with 2^Bits >= Total, makes N * E < 2^Shift,
// so the error is below 1 / Total: it never reaches the next whole number,
// and the floor is the quotient's. Multiplier stays below 2^32 for a Total of
// at most 2^22.
std::optional<TAreaReducer::TDivision> TAreaReducer::DivisionBy(std::uint64_t Total) {
  int Bits = 0;
  while ((std::uint64_t{1} << Bits) < Total) ++Bits;
  if (Bits > 22) return std::nullopt;
  const int Shift = 8 + 2 * Bits;
  const std::uint64_t Multiplier = ((std::uint64_t{1} << Shift) + Total - 1) / Total;
  return TDivision{static_cast<std::uint32_t>(Total / 2), static_cast<std::uint32_t>(Multiplier), Shift};
}

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
#if defined(__SSE2__)
  if (ReducesInLanes()) return ReduceInLanes(Source, Part, Out, Stride);
#endif
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

#if defined(__SSE2__)
// ReduceRow with a pixel's four channels in the lanes of one register, and
// each two taps weighed and added by one multiply-add.
void TAreaReducer::ReduceRowInLanes(const std::uint32_t* Row, int Left, int Right, std::uint32_t* Sums) const {
  const __m128i Zero = _mm_setzero_si128();
  for (auto D = static_cast<std::size_t>(Left); D < static_cast<std::size_t>(Right); ++D, Sums += 4) {
    __m128i Sum = Zero;
    for (std::size_t P = FFirstPair[D]; P < FFirstPair[D + 1]; ++P) {
      const TTapPair& Pair = FPairs[P];
      // The two pixels' channels side by side as 16-bit numbers: b b g g r r a a.
      const __m128i Bytes = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(Row[Pair.First])),
                                              _mm_cvtsi32_si128(static_cast<int>(Row[Pair.Second])));
      const __m128i Weighed =
          _mm_madd_epi16(_mm_unpacklo_epi8(Bytes, Zero), _mm_set1_epi32(static_cast<int>(Pair.Weights)));
      Sum = _mm_add_epi32(Sum, Weighed);
    }
    Store(Sums, Sum);
  }
}

// ReduceWith for narrow sums, a pixel's four channels at a time.
void TAreaReducer::ReduceInLanes(const TPictureFrame& Source, const TPixelArea& Part, std::uint32_t* Out,
                                 std::size_t Stride) {
  const TLaneAveraging Average{_mm_set1_epi32(static_cast<int>(FDivision.Half)),
                               _mm_set1_epi32(static_cast<int>(FDivision.Multiplier)),
                               _mm_cvtsi32_si128(FDivision.Shift)};
  const auto Width = static_cast<std::size_t>(Part.Right - Part.Left);
  FRowSums.resize(Width * 4);
  FNarrowSums.resize(Width * 4);
  std::uint32_t* const Sums = FNarrowSums.data();
  // A source row on the border of two reduced rows serves both, and is
  // reduced along x only once.
  int ReducedRow = -1;
  for (int D = Part.Top; D < Part.Bottom; ++D, Out += Stride) {
    const std::size_t FirstTap = FY.First[static_cast<std::size_t>(D)];
    for (std::size_t T = FirstTap; T < FY.First[static_cast<std::size_t>(D) + 1]; ++T) {
      const int SourceRow = FY.Taps[T].SourceIndex;
      if (SourceRow != ReducedRow) {
        ReduceRowInLanes(Source.Pixels.data() + static_cast<std::size_t>(SourceRow) * Source.Width, Part.Left,
                         Part.Right, FRowSums.data());
        ReducedRow = SourceRow;
      }
      const __m128i Weight = _mm_set1_epi32(static_cast<int>(FY.Taps[T].Weight));
      for (std::size_t I = 0; I < 4 * Width; I += 4) {
        const __m128i Weighed = Times(Load(FRowSums.data() + I), Weight);
        Store(Sums + I, T == FirstTap ? Weighed : _mm_add_epi32(Load(Sums + I), Weighed));
      }
    }
    for (std::size_t I = 0; I < Width; ++I) Out[I] = Average(Load(Sums + 4 * I));
  }
}
#endif

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
