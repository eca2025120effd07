#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/FramePlayer.h"
#include "pictures/Picture.h"
#include "support/PictureEncoders.h"
#include "pictures/PremultipliedPixel.h"

// Fixtures and pixel helpers shared by the picture tests.
namespace picture_tests {

// The long side pictures are decoded to cover, as the program's largest
// popup asks.
inline constexpr int ShownLongSide = 600;

inline std::filesystem::path FixturePath(const std::string& Name) {
  return std::filesystem::path(TARNWICK_PICTURE_FIXTURES) / Name;
}

inline Bytes ReadFixture(const std::string& Name) {
  std::ifstream In(FixturePath(Name), std::ios::binary);
  if (!In) throw std::runtime_error("missing fixture " + Name);
  return Bytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline std::uint32_t PixelAt(const tarnwick::TPictureFrame& Frame, int X, int Y) {
  return Frame.Pixels.at(static_cast<std::size_t>(Y) * Frame.Width + X);
}

// The frame a decoder should make of Image at its own size.
inline tarnwick::TPictureFrame PremultipliedFrame(const RgbaImage& Image) {
  tarnwick::TPictureFrame Frame{Image.Width, Image.Height, {}, 0};
  for (std::size_t I = 0; I < Image.Rgba.size(); I += 4)
    Frame.Pixels.push_back(tarnwick::PremultipliedPixel(Image.Rgba[I], Image.Rgba[I + 1], Image.Rgba[I + 2], Image.Rgba[I + 3]));
  return Frame;
}

// The largest difference between the channels of two pixels.
inline int ChannelDistance(std::uint32_t A, std::uint32_t B) {
  int Largest = 0;
  for (int Shift = 0; Shift < 32; Shift += 8)
    Largest = std::max(Largest, std::abs(static_cast<int>(A >> Shift & 0xFF) - static_cast<int>(B >> Shift & 0xFF)));
  return Largest;
}

// The largest channel difference over two frames of the same size.
inline int FrameDistance(const tarnwick::TPictureFrame& A, const tarnwick::TPictureFrame& B) {
  if (A.Width != B.Width || A.Height != B.Height) return 256;
  int Largest = 0;
  for (std::size_t I = 0; I < A.Pixels.size(); ++I) Largest = std::max(Largest, ChannelDistance(A.Pixels[I], B.Pixels[I]));
  return Largest;
}

// Every frame of Source in turn, as they are shown.
inline std::vector<tarnwick::TPictureFrame> PlayedFrames(const tarnwick::TPicture& Source) {
  tarnwick::TFramePlayer Player(Source);
  std::vector<tarnwick::TPictureFrame> Frames;
  for (int Index = 0; Index < Source.FrameCount(); ++Index) {
    Frames.push_back(Player.Frame(Index));
    Frames.back().DelayMs = Source.DelayMs(Index);
  }
  return Frames;
}

}  // namespace picture_tests
