#pragma once

#include <cstdint>

// The pixel word of TPictureFrame: blue in the low byte, then green, red and
// alpha, so that memory order on the little-endian targets is B, G, R, A.
namespace tarnwick {

inline std::uint32_t OpaquePixel(std::uint32_t Red, std::uint32_t Green, std::uint32_t Blue) {
  return 0xFF000000u | Red << 16 | Green << 8 | Blue;
}

// Colour scaled by alpha, rounded to nearest.
inline std::uint32_t PremultipliedPixel(std::uint32_t Red, std::uint32_t Green, std::uint32_t Blue,
                                        std::uint32_t Alpha) {
  const auto Scale = [Alpha](std::uint32_t C) { return (C * Alpha + 127) / 255; };
  return Alpha << 24 | Scale(Red) << 16 | Scale(Green) << 8 | Scale(Blue);
}

// A straight-alpha pixel word in the same layout, premultiplied.
inline std::uint32_t Premultiplied(std::uint32_t Straight) {
  return PremultipliedPixel(Straight >> 16 & 0xFF, Straight >> 8 & 0xFF, Straight & 0xFF, Straight >> 24);
}

}  // namespace tarnwick
