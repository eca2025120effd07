// Decoding a photo-sized JPEG in full against decoding it for the popup,
// where DCT scaling does most of the reduction inside libjpeg.
#include <benchmark/benchmark.h>

#include "AreaReduction.h"
#include "PictureDecoder.h"
#include "PictureEncoders.h"

using namespace tarnwick;
using namespace picture_tests;

namespace {

constexpr int PhotoWidth = 4000;
constexpr int PhotoHeight = 3000;

// Smooth gradients with fine detail over them, about as costly to decode as
// a photograph.
Bytes MakePhoto() {
  RgbaImage Image(PhotoWidth, PhotoHeight);
  for (int Y = 0; Y < PhotoHeight; ++Y)
    for (int X = 0; X < PhotoWidth; ++X)
      Image.Set(X, Y, static_cast<std::uint8_t>(X * 255 / PhotoWidth), static_cast<std::uint8_t>(Y * 255 / PhotoHeight),
                static_cast<std::uint8_t>((X ^ Y) & 0x3F));
  return EncodeJpeg(Image, 90);
}

const Bytes Photo = MakePhoto();

void DecodeFullSize(benchmark::State& State) {
  for (auto _ : State) benchmark::DoNotOptimize(DecodePicture(Photo, PictureFormat::pfJpeg, PhotoWidth));
}

// What decoding for the popup would cost without DCT scaling.
void DecodeFullSizeThenReduce(benchmark::State& State) {
  const auto LongSide = static_cast<int>(State.range(0));
  for (auto _ : State) {
    const Picture Full = DecodePicture(Photo, PictureFormat::pfJpeg, PhotoWidth);
    benchmark::DoNotOptimize(FittedFrame(Full.Frames[0], PhotoWidth, PhotoHeight, LongSide));
  }
}

void DecodeScaled(benchmark::State& State) {
  const auto LongSide = static_cast<int>(State.range(0));
  for (auto _ : State) benchmark::DoNotOptimize(DecodePicture(Photo, PictureFormat::pfJpeg, LongSide));
}

}  // namespace

BENCHMARK(DecodeFullSize)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeFullSizeThenReduce)->Arg(600)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeScaled)->Arg(600)->Arg(1200)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
