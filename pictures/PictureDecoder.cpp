#include "pictures/PictureDecoder.h"

#include <new>
#include <utility>
#include <vector>

#include "pictures/BitmapDecoder.h"
#include "pictures/GifDecoder.h"
#include "pictures/JpegDecoder.h"
#include "pictures/PictureErrors.h"
#include "pictures/PictureFile.h"
#include "pictures/PngDecoder.h"

namespace tarnwick {
namespace {

TPicture DecodeStill(std::span<const std::uint8_t> Bytes, TPictureFormat Format, int MaxLongSide,
                    const TPictureLimits& Limits) {
  switch (Format) {
    case TPictureFormat::pfJpeg: return DecodeJpeg(Bytes, MaxLongSide, Limits);
    case TPictureFormat::pfPng: return DecodePng(Bytes, MaxLongSide, Limits);
    case TPictureFormat::pfBitmap: return DecodeBitmap(Bytes, MaxLongSide, Limits);
    case TPictureFormat::pfGif: break;
  }
  throw EPictureError("対応していない画像形式です");
}

template <typename Decoding>
TPicture WithinMemory(Decoding Decode) {
  try {
    return Decode();
  } catch (const std::bad_alloc&) {
    // Within the limits, but the process has no room left (a 32-bit one may not).
    throw EPictureError("メモリが足りません");
  }
}

}  // namespace

TPicture DecodePicture(std::span<const std::uint8_t> Bytes, TPictureFormat Format, int MaxLongSide,
                      const TPictureLimits& Limits) {
  return WithinMemory([&] {
    // An animation keeps its own copy of the bytes.
    if (Format == TPictureFormat::pfGif) return DecodeGif({Bytes.begin(), Bytes.end()}, MaxLongSide, Limits);
    return DecodeStill(Bytes, Format, MaxLongSide, Limits);
  });
}

TPicture DecodePictureFile(const std::wstring& FileName, int MaxLongSide) {
  try {
    const auto Format = PictureFormatOfExtension(LowerCaseExtension(FileName));
    if (!Format) throw EPictureError("対応していない拡張子です");
    std::vector<std::uint8_t> Bytes = ReadPictureFile(FileName);
    return WithinMemory([&] {
      if (*Format == TPictureFormat::pfGif) return DecodeGif(std::move(Bytes), MaxLongSide, {});
      return DecodeStill(Bytes, *Format, MaxLongSide, {});
    });
  } catch (const EPictureError& Error) {
    throw EPictureError(CannotReadPictureMessage(FileName, Error.what()));
  }
}

}  // namespace tarnwick
