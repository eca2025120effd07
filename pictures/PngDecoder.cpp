#include "pictures/PngDecoder.h"

#include <png.h>

#include <cstring>
#include <utility>

#include "pictures/AreaReduction.h"
#include "pictures/PictureErrors.h"
#include "pictures/PremultipliedPixel.h"

namespace tarnwick {
namespace {

class TPngReader {
 public:
  TPngReader() { FImage.version = PNG_IMAGE_VERSION; }
  ~TPngReader() { png_image_free(&FImage); }
  TPngReader(const TPngReader&) = delete;
  TPngReader& operator=(const TPngReader&) = delete;

  png_image& Image() { return FImage; }

  // Raises the library's message when Succeeded is false.
  void Check(int Succeeded) const {
    if (!Succeeded) throw EPictureError(FImage.message);
  }

 private:
  png_image FImage{};
};

std::uint32_t BigEndian32(const std::uint8_t* P) {
  return std::uint32_t{P[0]} << 24 | std::uint32_t{P[1]} << 16 | std::uint32_t{P[2]} << 8 | P[3];
}

// libpng trusts a chunk's length and may allocate that much before reading
// it, so a file of a hundred bytes could take gigabytes. Every chunk up to
// the end chunk must lie within the file. Other files are left to libpng,
// which names what is wrong with them.
void CheckChunksInside(std::span<const std::uint8_t> Bytes) {
  constexpr std::uint8_t Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  constexpr std::size_t LengthAndType = 8;
  constexpr std::size_t Checksum = 4;
  if (Bytes.size() < sizeof Signature || std::memcmp(Bytes.data(), Signature, sizeof Signature) != 0) return;
  for (std::size_t Chunk = sizeof Signature; Chunk + LengthAndType <= Bytes.size();) {
    const std::uint64_t End = Chunk + LengthAndType + std::uint64_t{BigEndian32(&Bytes[Chunk])} + Checksum;
    if (End > Bytes.size()) throw EPictureError(DamagedReason("途中で切れています"));
    if (std::memcmp(&Bytes[Chunk + 4], "IEND", 4) == 0) return;
    Chunk = static_cast<std::size_t>(End);
  }
}

}  // namespace

TPicture DecodePng(std::span<const std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits) {
  CheckChunksInside(Bytes);
  TPngReader Reader;
  png_image& Image = Reader.Image();
  Reader.Check(png_image_begin_read_from_memory(&Image, Bytes.data(), Bytes.size()));
  CheckRasterSize(Image.width, Image.height, Limits);
  const int Width = static_cast<int>(Image.width);
  const int Height = static_cast<int>(Image.height);

  // Straight-alpha 8-bit sRGB in the frame's own byte order, premultiplied after.
  Image.format = PNG_FORMAT_BGRA;
  TPictureFrame Frame{Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width) * Height), 0};
  Reader.Check(png_image_finish_read(&Image, nullptr, Frame.Pixels.data(), 0, nullptr));
  for (std::uint32_t& Pixel : Frame.Pixels) Pixel = Premultiplied(Pixel);

  TPicture Result{Width, Height, {}, nullptr, 0};
  Result.Frames.push_back(FittedFrame(std::move(Frame), Width, Height, MaxLongSide));
  return Result;
}

}  // namespace tarnwick
