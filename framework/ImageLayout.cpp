#include "framework/ImageLayout.h"

namespace tarnwick {
namespace {

// The largest size of the picture's aspect ratio that fits the area.
void FitProportionally(int& Width, int& Height, int ClientWidth, int ClientHeight) {
  const double Aspect = static_cast<double>(Width) / Height;
  if (Width > Height) {
    Width = ClientWidth;
    Height = static_cast<int>(ClientWidth / Aspect);
    if (Height > ClientHeight) {
      Height = ClientHeight;
      Width = static_cast<int>(ClientHeight * Aspect);
    }
  } else {
    Height = ClientHeight;
    Width = static_cast<int>(ClientHeight * Aspect);
    if (Width > ClientWidth) {
      Width = ClientWidth;
      Height = static_cast<int>(ClientWidth / Aspect);
    }
  }
}

}  // namespace

RECT PictureDestRect(int PictureWidth, int PictureHeight, int ClientWidth, int ClientHeight, bool Stretch,
                     bool Proportional, bool Center) {
  int Width = PictureWidth;
  int Height = PictureHeight;
  const bool TooLarge = Width > ClientWidth || Height > ClientHeight;
  if (Stretch || (Proportional && TooLarge)) {
    if (Proportional && Width > 0 && Height > 0) {
      FitProportionally(Width, Height, ClientWidth, ClientHeight);
    } else {
      Width = ClientWidth;
      Height = ClientHeight;
    }
  }
  RECT Dest{0, 0, Width, Height};
  if (Center) OffsetRect(&Dest, (ClientWidth - Width) / 2, (ClientHeight - Height) / 2);
  return Dest;
}

}  // namespace tarnwick
