#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictures/GifCanvas.h"

// The frames of an animation as its file gives them, each compressed, kept
// while they fit a budget: showing a kept frame again reads nothing of the
// file, and expanding it costs a fraction of decoding it.
namespace tarnwick {

class TGifFrameStore {
 public:
  // A store that takes at most Budget bytes.
  explicit TGifFrameStore(std::size_t Budget);

  // Keeps Image as the next frame of the animation unless what is left of
  // the budget cannot hold it: then neither it nor any later frame is kept.
  void Keep(const TGifFrameImage& Image);
  // How many frames are kept: the animation's first Kept().
  int Kept() const { return static_cast<int>(FFrames.size()); }
  // Kept frame Index into Image, reusing its storage.
  void Expand(int Index, TGifFrameImage& Image) const;
  // What the kept frames take.
  std::size_t Bytes() const { return FBytes; }

 private:
  struct TFrame {
    int Left;
    int Top;
    int Width;
    int Height;
    TGifDisposal Disposal;
    // Into FColors.
    std::size_t Colors;
    std::vector<std::uint8_t> Indexes;
  };

  std::size_t FBudget;
  std::size_t FBytes = 0;
  bool FFull = false;
  std::vector<std::array<std::uint32_t, 256>> FColors;
  std::vector<TFrame> FFrames;
};

}  // namespace tarnwick
