#pragma once

#include <cstdint>
#include <vector>

namespace tarnwick {

// One full frame of a decoded picture, ready to draw: 32-bit pixels in
// memory order blue, green, red, alpha, with the colour premultiplied by
// alpha (what AlphaBlend draws), rows top-down, Width * Height of them.
struct PictureFrame {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
  // How long the frame stands in an animation, in milliseconds.
  int DelayMs = 0;
};

// A decoded picture: every frame already composited to the same raster
// size. The raster may be smaller than the file's own pixel size (pictures
// are decoded at the size they are shown); NominalWidth and NominalHeight
// always give the file's own size, which layout arithmetic uses.
struct Picture {
  int NominalWidth = 0;
  int NominalHeight = 0;
  std::vector<PictureFrame> Frames;
  // How often an animation runs through; 0 means forever.
  int LoopCount = 0;

  bool Empty() const { return Frames.empty(); }
  bool Animated() const { return Frames.size() > 1; }
};

}  // namespace tarnwick
