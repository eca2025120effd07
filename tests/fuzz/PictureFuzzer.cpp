// Feeds arbitrary bytes to one picture decoder, chosen when building
// (TARNWICK_FUZZ_FORMAT), and checks what comes out of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "PictureDecoder.h"
#include "PictureErrors.h"

using namespace tarnwick;

namespace {

// Smaller than the program's limits so that each input stays quick; the
// code paths are the same.
const PictureLimits Limits{.MaxSide = 4096,
                           .MaxFramePixels = std::int64_t{1} << 22,
                           .MaxFrames = 256,
                           .MaxAnimationPixels = std::int64_t{1} << 24,
                           .MaxKeptPixels = std::int64_t{1} << 20};
constexpr int MaxLongSide = 64;

bool IsPremultiplied(std::uint32_t Pixel) {
  const std::uint32_t Alpha = Pixel >> 24;
  return (Pixel >> 16 & 0xFF) <= Alpha && (Pixel >> 8 & 0xFF) <= Alpha && (Pixel & 0xFF) <= Alpha;
}

// A decoded picture is whole: every frame of the kept size, every pixel valid.
void CheckWhole(const Picture& Result) {
  if (Result.Empty() || Result.NominalWidth <= 0 || Result.NominalHeight <= 0) std::abort();
  for (const PictureFrame& Frame : Result.Frames) {
    if (Frame.Width <= 0 || Frame.Height <= 0 || Frame.Width > MaxLongSide || Frame.Height > MaxLongSide ||
        Frame.Pixels.size() != static_cast<std::size_t>(Frame.Width) * Frame.Height || Frame.DelayMs < 0)
      std::abort();
    for (std::uint32_t Pixel : Frame.Pixels)
      if (!IsPremultiplied(Pixel)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  try {
    CheckWhole(DecodePicture({Data, Size}, PictureFormat::TARNWICK_FUZZ_FORMAT, MaxLongSide, Limits));
  } catch (const EPictureError&) {
  }
  return 0;
}
