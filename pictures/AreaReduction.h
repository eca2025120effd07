#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "pictures/Picture.h"

// Pictures are shown no larger than they are kept: a raster larger than that
// is reduced by a box filter that averages the premultiplied pixels over the
// exact area each new pixel covers.
namespace tarnwick {

struct TRasterSize {
  int Width = 0;
  int Height = 0;
};

// The size a Width x Height picture is kept at when its long side may be at
// most MaxLongSide (taken as at least 1): its own size when it fits, else
// scaled down with the aspect ratio kept, each side at least 1 pixel.
TRasterSize KeptSize(int Width, int Height, int MaxLongSide);

// The reduction of rasters of one size to a size no larger, worked out once
// for the frames of an animation, so that any part of a frame can be reduced
// again alone: an animation redoes only what each frame changed.
class TAreaReducer {
 public:
  TAreaReducer(TRasterSize From, TRasterSize To);

  // Whether it reduces rasters of Width x Height.
  bool From(int Width, int Height) const { return FX.From == Width && FY.From == Height; }

  // The reduced pixels whose value depends on Part of the source.
  TPixelArea Affected(const TPixelArea& Part) const;
  // Part of the reduction of Source (of the From size), written to Out with
  // its rows Stride pixels apart. Its working rows are kept for the next part.
  void Reduce(const TPictureFrame& Source, const TPixelArea& Part, std::uint32_t* Out, std::size_t Stride);

 private:
  // How the pixels of one axis overlap. Lengths are measured in the smallest
  // whole units in which a source pixel and a reduced pixel both have a
  // whole length, so every overlap is a whole number and the weights of each
  // reduced pixel add up to Length.
  struct TAxis {
    struct TTap {
      int SourceIndex;
      std::uint32_t Weight;
    };
    TAxis(int From, int To);
    std::vector<TTap> Taps;
    // Taps[First[D]] up to Taps[First[D + 1]] cover reduced pixel D.
    std::vector<std::size_t> First;
    int From;
    int To;
    // A reduced pixel's length.
    std::uint32_t Length;
    std::uint32_t LargestWeight = 0;
  };
  // The x taps two at a time, for reducing four channels at once: the
  // second of an odd one out has weight 0.
  struct TTapPair {
    int First;
    int Second;
    // The first's weight in the low 16 bits, the second's in the high.
    std::uint32_t Weights;
  };
  // Rounded division by the weights' total through a multiplication: exact
  // for every sum a reduced pixel can have, when the total is at most 2^22.
  struct TDivision {
    std::uint32_t Half;
    std::uint32_t Multiplier;
    int Shift;
  };
  static std::optional<TDivision> DivisionBy(std::uint64_t Total);
  bool ReducesInLanes() const { return !FPairs.empty(); }
  void ReduceInLanes(const TPictureFrame& Source, const TPixelArea& Part, std::uint32_t* Out, std::size_t Stride);
  void ReduceRowInLanes(const std::uint32_t* Row, int Left, int Right, std::uint32_t* Sums) const;
  template <typename Sum>
  void ReduceWith(const TPictureFrame& Source, const TPixelArea& Part, std::uint32_t* Out, std::size_t Stride,
                  std::vector<Sum>& Sums);
  void ReduceRow(const std::uint32_t* Row, int Left, int Right, std::uint32_t* Sums) const;

  TAxis FX;
  TAxis FY;
  // Empty unless this build and these sizes reduce four channels at once.
  std::vector<TTapPair> FPairs;
  // FPairs[FFirstPair[D]] up to FPairs[FFirstPair[D + 1]] cover reduced column D.
  std::vector<std::size_t> FFirstPair;
  TDivision FDivision{};
  // A source row reduced along x: four channel sums a pixel.
  std::vector<std::uint32_t> FRowSums;
  // The sums of a reduced row, narrow when every sum fits 32 bits.
  std::vector<std::uint32_t> FNarrowSums;
  std::vector<std::uint64_t> FWideSums;
};

// Source reduced to Width x Height, neither larger than the source's.
TPictureFrame Reduced(const TPictureFrame& Source, int Width, int Height);

// Frame, a decoding of a NominalWidth x NominalHeight picture at any size at
// least as large as the kept size, brought to the kept size (a copy when it
// is that size already).
TPictureFrame FittedFrame(const TPictureFrame& Frame, int NominalWidth, int NominalHeight, int MaxLongSide);
// The same, taking over Frame when it is the kept size already.
TPictureFrame FittedFrame(TPictureFrame&& Frame, int NominalWidth, int NominalHeight, int MaxLongSide);

}  // namespace tarnwick
