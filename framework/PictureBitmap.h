#pragma once

#include <windows.h>

#include "GdiObject.h"
#include "Picture.h"

namespace tarnwick {

// Frame as an opaque bitmap: its pixels laid over Background, at the
// frame's own size. None for an empty frame.
TGdiObject<HBITMAP> FrameOverBackground(const PictureFrame& Frame, COLORREF Background);

// Draws Bitmap (Width x Height) into Dest of DC, smoothly scaled.
void DrawScaled(HDC DC, const RECT& Dest, HBITMAP Bitmap, int Width, int Height);

}  // namespace tarnwick
