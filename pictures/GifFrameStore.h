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

class GifFrameStore {
 public:
  // A store that takes at most Budget bytes.
  explicit GifFrameStore(std::size_t Budget);

  // Keeps Image as the next frame of the animation unless what is left of
  // the budget cannot hold it: then neither it nor any later frame is kept.
  void Keep(const GifFrameImage& Image);
  // How many frames are kept: the animation's first Kept().
  int Kept() const { return static_cast<int>(Frames_.size()); }
  // Kept frame Index into Image, reusing its storage.
  void Expand(int Index, GifFrameImage& Image) const;
  // What the kept frames take.
  std::size_t Bytes() const { return Bytes_; }

 private:
  struct Frame {
    int Left;
    int Top;
    int Width;
    int Height;
    GifDisposal Disposal;
    // Into Colors_.
    std::size_t Colors;
    std::vector<std::uint8_t> Indexes;
  };

  std::size_t Budget_;
  std::size_t Bytes_ = 0;
  bool Full_ = false;
  std::vector<std::array<std::uint32_t, 256>> Colors_;
  std::vector<Frame> Frames_;
};

}  // namespace tarnwick
