// Writes an animated GIF for the end-to-end tests and the measurements to
// play: FRAMES frames of 640 x 480 at 25 a second, looping, a striped ball
// crossing a still scene, stored as clips for the web are: a whole first
// frame, then only the part of each frame that changed.
//   e2e_animation FRAMES FILE   prints the file's size in bytes
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "support/PictureEncoders.h"

using namespace picture_tests;

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
constexpr int Radius = 56;
constexpr int DelayCs = 4;

// Shades of the scene, then the ball's colours.
GifPalette Palette() {
  GifPalette Colors;
  for (int I = 0; I < 128; ++I)
    Colors.push_back({static_cast<std::uint8_t>(40 + I), static_cast<std::uint8_t>(90 + I), static_cast<std::uint8_t>(200 - I)});
  for (int I = 0; I < 128; ++I)
    Colors.push_back({static_cast<std::uint8_t>(255 - I), static_cast<std::uint8_t>(I * 2), static_cast<std::uint8_t>(60)});
  return Colors;
}

int Bounce(int Travelled, int Span) {
  const int Place = Travelled % (2 * Span);
  return Place < Span ? Place : 2 * Span - Place;
}

struct Ball {
  int X, Y, Frame;
};

Ball BallAt(int Frame) { return {Radius + Bounce(Frame * 7, Width - 2 * Radius), Radius + Bounce(Frame * 5, Height - 2 * Radius), Frame}; }

std::uint8_t IndexAt(int X, int Y, const Ball& B) {
  const int DX = X - B.X, DY = Y - B.Y;
  if (DX * DX + DY * DY < Radius * Radius) return static_cast<std::uint8_t>(128 + ((DX * 2 + DY + B.Frame * 3 + 512) / 6 & 127));
  return static_cast<std::uint8_t>((X + Y) / 9 % 128);
}

// The rectangle Left, Top, Right, Bottom of the scene drawn with the ball at B.
GifFrameLayout Part(int Left, int Top, int Right, int Bottom, const Ball& B) {
  GifFrameLayout Frame = FilledGifFrame(Left, Top, Right - Left, Bottom - Top, 0);
  Frame.DelayCs = DelayCs;
  for (int Y = Top; Y < Bottom; ++Y)
    for (int X = Left; X < Right; ++X) Frame.Indexes[static_cast<std::size_t>((Y - Top) * Frame.Width + X - Left)] = IndexAt(X, Y, B);
  return Frame;
}

// Where the ball was and where it is.
GifFrameLayout Changed(int Frame) {
  const Ball Before = BallAt(Frame - 1), Now = BallAt(Frame);
  return Part(std::min(Before.X, Now.X) - Radius, std::min(Before.Y, Now.Y) - Radius, std::max(Before.X, Now.X) + Radius,
              std::max(Before.Y, Now.Y) + Radius, Now);
}

}  // namespace

int main(int argc, char** argv) {
  const int Frames = argc == 3 ? std::atoi(argv[1]) : 0;
  if (Frames < 2) {
    std::fputs("usage: e2e_animation FRAMES FILE\n", stderr);
    return 2;
  }
  std::vector<GifFrameLayout> Layouts{Part(0, 0, Width, Height, BallAt(0))};
  for (int Frame = 1; Frame < Frames; ++Frame) Layouts.push_back(Changed(Frame));
  const Bytes Gif = EncodeGif(Width, Height, Palette(), Layouts, 0);
  std::ofstream(argv[2], std::ios::binary).write(reinterpret_cast<const char*>(Gif.data()), static_cast<std::streamsize>(Gif.size()));
  std::printf("%zu\n", Gif.size());
  return 0;
}
