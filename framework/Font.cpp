#include "framework/Font.h"

namespace tarnwick {

void TFont::SetName(const std::wstring& Value) {
  FName = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  FHeight = Value;
  Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW Font{};
    Font.lfHeight = FHeight;
    Font.lfWeight = FW_NORMAL;
    Font.lfCharSet = DEFAULT_CHARSET;
    Font.lfQuality = DEFAULT_QUALITY;
    FName.copy(Font.lfFaceName, LF_FACESIZE - 1);
    FHandle.reset(CreateFontIndirectW(&Font));
  }
  return FHandle.get();
}

void TFont::Changed() {
  // Windows still using the old font get the new one from OnChange first.
  TGdiObject<HFONT> Old = std::move(FHandle);
  if (OnChange) OnChange();
}

}  // namespace tarnwick
