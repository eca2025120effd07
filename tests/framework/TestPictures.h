#pragma once

#include <cstdint>
#include <vector>

#include "pictures/Picture.h"

namespace tarnwick::testing {

// A picture of Width x Height whose frames are filled with one colour each
// (premultiplied BGRA) and stand for the given delays.
inline TPicture SolidPicture(int Width, int Height, const std::vector<int>& DelaysMs, int LoopCount = 0,
                            std::uint32_t Pixel = 0xFF3366CCu) {
  TPicture Result;
  Result.NominalWidth = Width;
  Result.NominalHeight = Height;
  Result.LoopCount = LoopCount;
  for (int Delay : DelaysMs) {
    Result.Frames.push_back({Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width * Height), Pixel), Delay});
    Pixel += 0x10;
  }
  return Result;
}

}  // namespace tarnwick::testing
