#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace tarnwick {

class TGifAnimation;

// One full frame of a decoded picture, ready to draw: 32-bit pixels in
// memory order blue, green, red, alpha, with the colour premultiplied by
// alpha (what AlphaBlend draws), rows top-down, Width * Height of them.
struct TPictureFrame {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
  // How long the frame stands in an animation, in milliseconds.
  int DelayMs = 0;
};

// A rectangle of a raster: columns Left to Right - 1, rows Top to Bottom - 1.
struct TPixelArea {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  bool Empty() const { return Left >= Right || Top >= Bottom; }
};

// The smallest area holding both; an empty one adds nothing.
TPixelArea Union(const TPixelArea& A, const TPixelArea& B);
// The part both cover; empty when they do not meet.
TPixelArea Intersection(const TPixelArea& A, const TPixelArea& B);

// A decoded picture. A still picture is decoded whole into Frames; an
// animation keeps its file's data in Animation, and a TFramePlayer composites
// its frames as they are shown, so that it holds about what its file takes
// however many frames it has. It also keeps its first frame in Frames, as a
// still keeps its one, so that it opens as fast. Decoded frames may be
// smaller than the file's own pixel size (pictures are decoded at the size
// they are shown); NominalWidth and NominalHeight always give the file's own
// size, which layout arithmetic uses.
struct TPicture {
  int NominalWidth = 0;
  int NominalHeight = 0;
  std::vector<TPictureFrame> Frames;
  std::shared_ptr<const TGifAnimation> Animation;
  // How often an animation runs through; 0 means forever.
  int LoopCount = 0;

  int FrameCount() const;
  // How long frame Index stands, in milliseconds.
  int DelayMs(int Index) const;
  bool Empty() const { return FrameCount() == 0; }
  bool Animated() const { return FrameCount() > 1; }
};

}  // namespace tarnwick
