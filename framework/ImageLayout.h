#pragma once

#include <windows.h>

namespace tarnwick {

// Where a picture of PictureWidth x PictureHeight is drawn in a client area
// of ClientWidth x ClientHeight. Stretch scales it to the area (Proportional
// keeping its aspect ratio); Proportional alone only shrinks a picture too
// large for the area; Center centres the result, else it sits top left.
RECT PictureDestRect(int PictureWidth, int PictureHeight, int ClientWidth, int ClientHeight, bool Stretch,
                     bool Proportional, bool Center);

}  // namespace tarnwick
