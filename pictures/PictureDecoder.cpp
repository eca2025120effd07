#include "PictureDecoder.h"

#include <new>

#include "BitmapDecoder.h"
#include "GifDecoder.h"
#include "JpegDecoder.h"
#include "PictureErrors.h"
#include "PictureFile.h"
#include "PngDecoder.h"

namespace tarnwick {

Picture DecodePicture(std::span<const std::uint8_t> Bytes, PictureFormat Format, int MaxLongSide,
                      const PictureLimits& Limits) {
  try {
    switch (Format) {
      case PictureFormat::pfJpeg: return DecodeJpeg(Bytes, MaxLongSide, Limits);
      case PictureFormat::pfPng: return DecodePng(Bytes, MaxLongSide, Limits);
      case PictureFormat::pfBitmap: return DecodeBitmap(Bytes, MaxLongSide, Limits);
      case PictureFormat::pfGif: return DecodeGif(Bytes, MaxLongSide, Limits);
    }
  } catch (const std::bad_alloc&) {
    // Within the limits, but the process has no room left (a 32-bit one may not).
    throw EPictureError("メモリが足りません");
  }
  throw EPictureError("対応していない画像形式です");
}

Picture DecodePictureFile(const std::wstring& FileName, int MaxLongSide) {
  try {
    const auto Format = PictureFormatOfExtension(LowerCaseExtension(FileName));
    if (!Format) throw EPictureError("対応していない拡張子です");
    return DecodePicture(ReadPictureFile(FileName), *Format, MaxLongSide);
  } catch (const EPictureError& Error) {
    throw EPictureError(CannotReadPictureMessage(FileName, Error.what()));
  }
}

}  // namespace tarnwick
