#include "framework/Font.h"

namespace tarnwick {

void TFont::SetName(const std::wstring& Value) {
  Name_ = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  Height_ = Value;
  Changed();
}

HFONT TFont::Handle() {
  if (!Handle_) {
    LOGFONTW Font{};
    Font.lfHeight = Height_;
    Font.lfWeight = FW_NORMAL;
    Font.lfCharSet = DEFAULT_CHARSET;
    Font.lfQuality = DEFAULT_QUALITY;
    Name_.copy(Font.lfFaceName, LF_FACESIZE - 1);
    Handle_.reset(CreateFontIndirectW(&Font));
  }
  return Handle_.get();
}

void TFont::Changed() {
  // Windows still using the old font get the new one from OnChange first.
  TGdiObject<HFONT> Old = std::move(Handle_);
  if (OnChange) OnChange();
}

}  // namespace tarnwick
