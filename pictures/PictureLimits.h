#pragma once

#include <cstddef>
#include <cstdint>

// How much a picture may ask for before any of it is decoded. A few bytes of
// header can declare a raster of gigabytes (a decompression bomb); such a file
// is refused before the memory is taken.
namespace tarnwick {

struct TPictureLimits {
  // Largest width or height of a picture or of one animation frame.
  int MaxSide = 16384;
  // Largest raster of one picture or frame: 64 Mi pixels, 256 MiB at 4 bytes.
  std::int64_t MaxFramePixels = std::int64_t{64} << 20;
  // Largest number of frames in an animation.
  int MaxFrames = 5000;
  // Largest number of full-size pixels over all frames (frames times
  // canvas): bounds the time an animation takes to read and to play through.
  // Its memory is its frame store and at most its file's bytes besides, and
  // one canvas, whatever its length.
  std::int64_t MaxAnimationPixels = std::int64_t{1} << 30;
};

// Raises EPictureError when a Width x Height raster is empty or larger than
// the limits allow.
void CheckRasterSize(long long Width, long long Height, const TPictureLimits& Limits);

// Raises EPictureError when an animation of Frames frames on a Width x Height
// canvas needs more than Limits allow.
void CheckAnimationSize(std::size_t Frames, int Width, int Height, const TPictureLimits& Limits);

}  // namespace tarnwick
