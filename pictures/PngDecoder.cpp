#include "PngDecoder.h"

#include <png.h>

#include <utility>

#include "AreaReduction.h"
#include "PictureErrors.h"
#include "PremultipliedPixel.h"

namespace tarnwick {
namespace {

class PngReader {
 public:
  PngReader() { Image_.version = PNG_IMAGE_VERSION; }
  ~PngReader() { png_image_free(&Image_); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  png_image& Image() { return Image_; }

  // Raises the library's message when Succeeded is false.
  void Check(int Succeeded) const {
    if (!Succeeded) throw EPictureError(Image_.message);
  }

 private:
  png_image Image_{};
};

}  // namespace

Picture DecodePng(std::span<const std::uint8_t> Bytes, int MaxLongSide, const PictureLimits& Limits) {
  PngReader Reader;
  png_image& Image = Reader.Image();
  Reader.Check(png_image_begin_read_from_memory(&Image, Bytes.data(), Bytes.size()));
  CheckRasterSize(Image.width, Image.height, Limits);
  const int Width = static_cast<int>(Image.width);
  const int Height = static_cast<int>(Image.height);

  // Straight-alpha 8-bit sRGB in the frame's own byte order, premultiplied after.
  Image.format = PNG_FORMAT_BGRA;
  PictureFrame Frame{Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width) * Height), 0};
  Reader.Check(png_image_finish_read(&Image, nullptr, Frame.Pixels.data(), 0, nullptr));
  for (std::uint32_t& Pixel : Frame.Pixels) Pixel = Premultiplied(Pixel);

  Picture Result{Width, Height, {}, 0};
  Result.Frames.push_back(FittedFrame(std::move(Frame), Width, Height, MaxLongSide));
  return Result;
}

}  // namespace tarnwick
