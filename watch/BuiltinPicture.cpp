#include "watch/BuiltinPicture.h"

#include <windows.h>

#include <cstdint>
#include <span>

#include "pictures/PictureDecoder.h"
#include "watch/SettingsModel.h"
#include "pictures/PictureErrors.h"

namespace tarnwick {

namespace {

std::span<const std::uint8_t> BuiltinJpegBytes() {
  // Resources of the module stay mapped for the life of the process.
  const HRSRC Resource = FindResourceW(nullptr, L"BUILTIN", RT_RCDATA);
  const HGLOBAL Loaded = Resource ? LoadResource(nullptr, Resource) : nullptr;
  const void* Bytes = Loaded ? LockResource(Loaded) : nullptr;
  if (!Bytes) throw EPictureError("内蔵画像が見つかりません");
  return {static_cast<const std::uint8_t*>(Bytes), SizeofResource(nullptr, Resource)};
}

}  // namespace

const std::shared_ptr<const TPicture>& BuiltinPicture() {
  static const std::shared_ptr<const TPicture> Builtin =
      std::make_shared<const TPicture>(DecodePicture(BuiltinJpegBytes(), TPictureFormat::pfJpeg, LargestPopupLongSide));
  return Builtin;
}

}  // namespace tarnwick
