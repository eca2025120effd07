#pragma once

#include <optional>
#include <string>
#include <string_view>

// Which decoder reads a picture file: chosen by the file name's extension
// alone, never by the content.
namespace tarnwick {

enum class TPictureFormat { pfJpeg, pfPng, pfBitmap, pfGif };

// The extension of FileName with its ASCII letters lower-cased, dot included:
// the text from the last "." that comes after the last "\", "/" and ":".
// Empty when there is no such dot.
std::wstring LowerCaseExtension(std::wstring_view FileName);

// The format for a lower-cased extension (".jpg", ".jpeg", ".png", ".bmp",
// ".gif"); nothing for any other extension.
std::optional<TPictureFormat> PictureFormatOfExtension(std::wstring_view Extension);

}  // namespace tarnwick
