#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pictures/GifCanvas.h"
#include "pictures/GifFrameStore.h"
#include "pictures/PictureLimits.h"

// An animated GIF kept as each frame's colour indexes compressed, as far as
// they fit a budget, and as its file's bytes for the frames beyond: both take
// a fraction of its decoded frames. TGifPlayer composites the frames from them
// again whenever they are shown.
namespace tarnwick {

// How long frames stand that ask for no delay of their own, in milliseconds.
inline constexpr int StandInDelayMs = 100;

// What a graphic control extension asks of the frame after it.
struct TGifFrameControl {
  TGifDisposal Disposal = TGifDisposal::gdKeep;
  // The index drawn as transparent; none when negative.
  int TransparentIndex = -1;
  int DelayMs = StandInDelayMs;
};

// Where a frame lies in the file, and how it is shown.
struct TGifFrameRecord {
  // Of the frame's image separator.
  std::size_t Offset = 0;
  TGifFrameControl Control;
  // The frame covers the canvas with opaque colours: what it shows does not
  // depend on the frames before it.
  bool Covers = false;
};

// The most bytes an animation's frame store takes: as much as its file and
// 4 MiB, so that an animation held with its first frame takes less than
// twice its file and a few MB.
std::size_t FrameStoreBudget(std::size_t FileSize);

class TGifAnimation {
 public:
  // Reads the whole of Bytes once, decoding every frame, so that a damaged or
  // cut frame anywhere is found here and nothing is refused later. Keeps the
  // frames' colour indexes in a store of at most StoreBudget bytes, and
  // Bytes only when some frame does not fit there. Raises EPictureError with
  // the reason (giflib's own words for its errors), also when any frame is
  // damaged or the declared sizes need more than Limits allow. A file that
  // only lacks its final trailer byte is read whole.
  TGifAnimation(std::vector<std::uint8_t> Bytes, const TPictureLimits& Limits, std::size_t StoreBudget);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // How often the animation runs through; 0 means forever.
  int LoopCount() const { return FLoopCount; }
  int FrameCount() const { return static_cast<int>(FFrames.size()); }
  const TGifFrameRecord& Frame(int Index) const { return FFrames[static_cast<std::size_t>(Index)]; }
  // The frames kept compressed: the first Store().Kept().
  const TGifFrameStore& Store() const { return FStore; }
  // The file's bytes; empty when the store keeps every frame.
  std::span<const std::uint8_t> Bytes() const { return FBytes; }

 private:
  void ReadFrames(const TPictureLimits& Limits);
  // Stores Image, the frame read last; First holds the first frame until
  // there is a second.
  void Keep(TGifFrameImage& Image, TGifFrameImage& First);

  std::vector<std::uint8_t> FBytes;
  TGifFrameStore FStore;
  int FWidth = 0;
  int FHeight = 0;
  int FLoopCount = 1;
  std::vector<TGifFrameRecord> FFrames;
};

}  // namespace tarnwick
