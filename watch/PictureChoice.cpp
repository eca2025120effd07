#include "watch/PictureChoice.h"

#include "pictures/PictureFormat.h"

namespace tarnwick {

bool IsAcceptedPictureName(std::wstring_view FileName) {
  return PictureFormatOfExtension(LowerCaseExtension(FileName)).has_value();
}

bool IsGifName(std::wstring_view FileName) { return LowerCaseExtension(FileName) == L".gif"; }

bool IsWaveName(std::wstring_view FileName) { return LowerCaseExtension(FileName) == L".wav"; }

}  // namespace tarnwick
