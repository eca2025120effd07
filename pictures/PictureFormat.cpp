#include "pictures/PictureFormat.h"

namespace tarnwick {

std::wstring LowerCaseExtension(std::wstring_view FileName) {
  const std::size_t Dot = FileName.rfind(L'.');
  const std::size_t Separator = FileName.find_last_of(L"\\/:");
  if (Dot == std::wstring_view::npos || (Separator != std::wstring_view::npos && Dot < Separator))
    return {};
  std::wstring Extension(FileName.substr(Dot));
  for (wchar_t& C : Extension)
    if (C >= L'A' && C <= L'Z') C = static_cast<wchar_t>(C - L'A' + L'a');
  return Extension;
}

std::optional<TPictureFormat> PictureFormatOfExtension(std::wstring_view Extension) {
  if (Extension == L".jpg" || Extension == L".jpeg") return TPictureFormat::pfJpeg;
  if (Extension == L".png") return TPictureFormat::pfPng;
  if (Extension == L".bmp") return TPictureFormat::pfBitmap;
  if (Extension == L".gif") return TPictureFormat::pfGif;
  return std::nullopt;
}

}  // namespace tarnwick
