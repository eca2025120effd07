#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Test pictures made in memory with the encoders of the same libraries the
// decoders use, from pixels the tests know.
namespace picture_tests {

using Bytes = std::vector<std::uint8_t>;

// Straight (not premultiplied) RGBA, four bytes a pixel, top row first.
struct RgbaImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgba;

  RgbaImage(int W, int H) : Width(W), Height(H), Rgba(static_cast<std::size_t>(W) * H * 4) {}
  std::uint8_t* At(int X, int Y) { return Rgba.data() + (static_cast<std::size_t>(Y) * Width + X) * 4; }
  void Set(int X, int Y, std::uint8_t R, std::uint8_t G, std::uint8_t B, std::uint8_t A = 255) {
    std::uint8_t* P = At(X, Y);
    P[0] = R, P[1] = G, P[2] = B, P[3] = A;
  }
};

// Baseline JPEG of the colour channels (alpha is dropped).
Bytes EncodeJpeg(const RgbaImage& Image, int Quality = 95);

Bytes EncodePng(const RgbaImage& Image);

// One GIF frame: a rectangle of colour indexes and its graphic control.
struct GifFrameLayout {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Indexes;  // Width * Height, top row first
  int Disposal = 0;                   // giflib's FDISPOSE* codes
  int TransparentIndex = -1;
  int DelayCs = 10;
  bool Interlaced = false;
};

using GifPalette = std::vector<std::array<std::uint8_t, 3>>;

// A GIF89a with a global colour table; LoopRepeats adds a NETSCAPE2.0
// extension with that count.
Bytes EncodeGif(int Width, int Height, const GifPalette& Palette, const std::vector<GifFrameLayout>& Frames,
                std::optional<int> LoopRepeats = std::nullopt);

// A frame of one index everywhere.
GifFrameLayout FilledGifFrame(int Left, int Top, int Width, int Height, std::uint8_t Index);

// A 12 x 10 animation of eleven frames on a palette of five colours, in
// every way a frame can be shown: patterned frames that cover the canvas
// with opaque colours (one after another, one reaching past the canvas,
// each way of leaving them behind), one that covers it with clear pixels,
// and small ones cleared after, restored after, with clear pixels and
// interlaced.
Bytes EveryWayGif();

}  // namespace picture_tests
