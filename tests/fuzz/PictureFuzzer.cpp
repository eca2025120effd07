// Feeds arbitrary bytes to one picture decoder, chosen when building
// (TARNWICK_FUZZ_FORMAT), and checks what comes out of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <zlib.h>

#include "pictures/FramePlayer.h"
#include "pictures/PictureDecoder.h"
#include "pictures/PictureErrors.h"

using namespace tarnwick;

namespace {

// Smaller than the program's limits so that each input stays quick; the
// code paths are the same.
const TPictureLimits Limits{.MaxSide = 4096,
                           .MaxFramePixels = std::int64_t{1} << 22,
                           .MaxFrames = 256,
                           .MaxAnimationPixels = std::int64_t{1} << 24};
constexpr int MaxLongSide = 64;

bool IsPremultiplied(std::uint32_t Pixel) {
  const std::uint32_t Alpha = Pixel >> 24;
  return (Pixel >> 16 & 0xFF) <= Alpha && (Pixel >> 8 & 0xFF) <= Alpha && (Pixel & 0xFF) <= Alpha;
}

void CheckFrame(const TPictureFrame& Frame, int MaxWidth, int MaxHeight) {
  if (Frame.Width <= 0 || Frame.Height <= 0 || Frame.Width > MaxWidth || Frame.Height > MaxHeight ||
      Frame.Pixels.size() != static_cast<std::size_t>(Frame.Width) * Frame.Height)
    std::abort();
  for (std::uint32_t Pixel : Frame.Pixels)
    if (!IsPremultiplied(Pixel)) std::abort();
}

// A decoded picture is whole: its decoded frames of the kept size, every
// frame of an animation made without an error at the animation's own size,
// every pixel valid. An animation was read whole when decoded: playing it
// may not fail.
void CheckWhole(const TPicture& Result) {
  if (Result.Empty() || Result.NominalWidth <= 0 || Result.NominalHeight <= 0) std::abort();
  for (const TPictureFrame& Frame : Result.Frames) CheckFrame(Frame, MaxLongSide, MaxLongSide);
  if (!Result.Animation) return;
  TFramePlayer Player(Result);
  for (int Index = 0; Index < Result.FrameCount(); ++Index) {
    if (Result.DelayMs(Index) < 0) std::abort();
    try {
      CheckFrame(Player.Frame(Index), Result.NominalWidth, Result.NominalHeight);
    } catch (...) {
      std::abort();
    }
  }
}

std::uint32_t BigEndian32(const std::uint8_t* P) {
  return std::uint32_t{P[0]} << 24 | std::uint32_t{P[1]} << 16 | std::uint32_t{P[2]} << 8 | P[3];
}

// A mutation rarely keeps a PNG chunk's checksum right, and the decoder
// refuses the chunk; setting each checksum right lets the fuzzer reach what
// the chunks hold.
void SetChunkChecksums(std::vector<std::uint8_t>& Png) {
  constexpr std::size_t SignatureSize = 8;
  for (std::size_t Chunk = SignatureSize; Png.size() - Chunk >= 12;) {
    const std::size_t Length = BigEndian32(&Png[Chunk]);
    if (Length > Png.size() - Chunk - 12) return;
    const std::uint32_t Checksum = crc32(0, &Png[Chunk + 4], static_cast<uInt>(Length + 4));
    std::uint8_t* Stored = &Png[Chunk + 8 + Length];
    for (int I = 0; I < 4; ++I) Stored[I] = static_cast<std::uint8_t>(Checksum >> (24 - 8 * I));
    Chunk += 12 + Length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  constexpr TPictureFormat Format = TPictureFormat::TARNWICK_FUZZ_FORMAT;
  std::vector<std::uint8_t> Bytes(Data, Data + Size);
  if (Format == TPictureFormat::pfPng && Bytes.size() >= 8) SetChunkChecksums(Bytes);
  try {
    CheckWhole(DecodePicture(Bytes, Format, MaxLongSide, Limits));
  } catch (const EPictureError&) {
  }
  return 0;
}
