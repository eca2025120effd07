#include "bench/PhotoJpeg.h"

#include <algorithm>
#include <cstdint>

namespace tarnwick::bench {
namespace {

std::uint32_t Hash(std::uint32_t Value) {
  Value ^= Value >> 16;
  Value *= 0x7FEB352Du;
  Value ^= Value >> 15;
  Value *= 0x846CA68Bu;
  return Value ^ (Value >> 16);
}

// A pseudo-random value in [0, 1] at a lattice point of one layer.
float LatticeValue(int X, int Y, std::uint32_t Layer) {
  return static_cast<float>(Hash(static_cast<std::uint32_t>(X) * 73856093u ^ static_cast<std::uint32_t>(Y) * 19349663u ^
                                 Layer * 83492791u) &
                            1023) /
         1023.0f;
}

// Value noise: lattice values Cell pixels apart, smoothly interpolated.
float Smooth(int X, int Y, int Cell, std::uint32_t Layer) {
  const int CellX = X / Cell, CellY = Y / Cell;
  const auto Ease = [](float T) { return T * T * (3 - 2 * T); };
  const float FX = Ease(static_cast<float>(X % Cell) / Cell), FY = Ease(static_cast<float>(Y % Cell) / Cell);
  const float Top = LatticeValue(CellX, CellY, Layer) +
                    (LatticeValue(CellX + 1, CellY, Layer) - LatticeValue(CellX, CellY, Layer)) * FX;
  const float Bottom = LatticeValue(CellX, CellY + 1, Layer) +
                       (LatticeValue(CellX + 1, CellY + 1, Layer) - LatticeValue(CellX, CellY + 1, Layer)) * FX;
  return Top + (Bottom - Top) * FY;
}

std::uint8_t Clamped(float Value) { return static_cast<std::uint8_t>(std::clamp(Value, 0.0f, 255.0f)); }

}  // namespace

picture_tests::Bytes MakePhotoJpeg(int Width, int Height, int Quality, bool Grain) {
  const float GrainLevel = Grain ? 8.0f : 0.0f;
  const float Fine = Grain ? 0.1f : 0.0f;
  picture_tests::RgbaImage Image(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const float Light = 0.5f * Smooth(X, Y, 700, 1) + 0.25f * Smooth(X, Y, 150, 2) + 0.15f * Smooth(X, Y, 31, 3) +
                          Fine * Smooth(X, Y, 6, 4);
      const float Warm = Smooth(X, Y, 400, 5), Cool = Smooth(X, Y, 250, 6);
      const float Noise =
          static_cast<float>(static_cast<int>(Hash(static_cast<std::uint32_t>(Y * Width + X)) & 255) - 128) / 128 *
          GrainLevel;
      Image.Set(X, Y, Clamped(255 * (0.8f * Light + 0.3f * Warm) + Noise),
                Clamped(255 * (0.9f * Light + 0.1f * Cool) + Noise), Clamped(255 * (0.6f * Light + 0.2f * Cool) + Noise));
    }
  return picture_tests::EncodeJpeg(Image, Quality);
}

}  // namespace tarnwick::bench
