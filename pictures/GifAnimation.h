#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pictures/GifCanvas.h"
#include "pictures/PictureLimits.h"

// An animated GIF kept as its file's bytes, which take a fraction of its
// decoded frames; GifPlayer composites the frames from them again whenever
// they are shown.
namespace tarnwick {

// How long frames stand that ask for no delay of their own, in milliseconds.
inline constexpr int StandInDelayMs = 100;

// What a graphic control extension asks of the frame after it.
struct GifFrameControl {
  GifDisposal Disposal = GifDisposal::gdKeep;
  // The index drawn as transparent; none when negative.
  int TransparentIndex = -1;
  int DelayMs = StandInDelayMs;
};

// Where a frame lies in the file, and how it is shown.
struct GifFrameRecord {
  // Of the frame's image separator.
  std::size_t Offset = 0;
  GifFrameControl Control;
};

class GifAnimation {
 public:
  // Reads the whole of Bytes once, decoding every frame and keeping none of
  // its pixels, so that a damaged or cut frame anywhere is found here and
  // nothing is refused later. Raises EPictureError with the reason (giflib's
  // own words for its errors), also when any frame is damaged or the
  // declared sizes need more than Limits allow. A file that only lacks its
  // final trailer byte is read whole.
  GifAnimation(std::vector<std::uint8_t> Bytes, const PictureLimits& Limits);

  int Width() const { return Width_; }
  int Height() const { return Height_; }
  // How often the animation runs through; 0 means forever.
  int LoopCount() const { return LoopCount_; }
  int FrameCount() const { return static_cast<int>(Frames_.size()); }
  const GifFrameRecord& Frame(int Index) const { return Frames_[static_cast<std::size_t>(Index)]; }
  std::span<const std::uint8_t> Bytes() const { return Bytes_; }

 private:
  std::vector<std::uint8_t> Bytes_;
  int Width_ = 0;
  int Height_ = 0;
  int LoopCount_ = 1;
  std::vector<GifFrameRecord> Frames_;
};

}  // namespace tarnwick
