#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "pictures/Picture.h"
#include "pictures/PictureFormat.h"
#include "pictures/PictureLimits.h"

// Decoding JPEG, PNG, bitmap and GIF pictures into Picture: stills once, at
// the size they are shown; animations checked whole and kept compressed.
namespace tarnwick {

// Bytes decoded as Format, for windows whose long side is at most
// MaxLongSide. A still's raster is kept at most MaxLongSide (at
// least 1) on its long side; NominalWidth/NominalHeight are the file's own
// size. An animated GIF keeps a copy of the bytes, every frame checked.
// Raises EPictureError, whose text is the reason, when the bytes cannot be
// decoded or need more than Limits allow; nothing is returned in part.
TPicture DecodePicture(std::span<const std::uint8_t> Bytes, TPictureFormat Format,
                      int MaxLongSide, const TPictureLimits& Limits = {});

// The file decoded with the decoder its extension names (see
// PictureFormatOfExtension). Raises EPictureError, naming the file and the
// reason, when the extension is not a picture's or the file cannot be read or
// decoded.
TPicture DecodePictureFile(const std::wstring& FileName, int MaxLongSide);

}  // namespace tarnwick
