#include "PictureBitmap.h"

#include <algorithm>

namespace tarnwick {
namespace {

// Premultiplied Pixel over an opaque Background, in memory order B, G, R.
std::uint32_t Over(std::uint32_t Pixel, COLORREF Background) {
  const std::uint32_t Alpha = Pixel >> 24;
  const std::uint32_t Rest = 255 - Alpha;
  const std::uint32_t Under[3] = {GetBValue(Background), GetGValue(Background), GetRValue(Background)};
  std::uint32_t Result = 0xFF000000u;
  for (int Channel = 0; Channel < 3; ++Channel) {
    const std::uint32_t Own = (Pixel >> (8 * Channel)) & 0xFF;
    const std::uint32_t Mixed = Own + (Under[Channel] * Rest + 127) / 255;
    Result |= (Mixed > 255 ? 255 : Mixed) << (8 * Channel);
  }
  return Result;
}

}  // namespace

TGdiObject<HBITMAP> FrameOverBackground(const PictureFrame& Frame, COLORREF Background) {
  if (Frame.Width <= 0 || Frame.Height <= 0) return {};
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = Frame.Width;
  Info.bmiHeader.biHeight = -Frame.Height;  // rows top-down, as the frame holds them
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  TGdiObject<HBITMAP> Bitmap(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Bitmap) return {};
  auto* Pixels = static_cast<std::uint32_t*>(Bits);
  const std::size_t Count = std::min(Frame.Pixels.size(), static_cast<std::size_t>(Frame.Width) * Frame.Height);
  for (std::size_t Index = 0; Index < Count; ++Index) Pixels[Index] = Over(Frame.Pixels[Index], Background);
  GdiFlush();
  return Bitmap;
}

void DrawScaled(HDC DC, const RECT& Dest, HBITMAP Bitmap, int Width, int Height) {
  const HDC Source = CreateCompatibleDC(DC);
  const HGDIOBJ Old = SelectObject(Source, Bitmap);
  // Halftone averages the source pixels, so shrunk pictures stay smooth.
  const int OldMode = SetStretchBltMode(DC, HALFTONE);
  POINT OldOrigin;
  SetBrushOrgEx(DC, 0, 0, &OldOrigin);
  StretchBlt(DC, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, Source, 0, 0, Width, Height,
             SRCCOPY);
  SetBrushOrgEx(DC, OldOrigin.x, OldOrigin.y, nullptr);
  SetStretchBltMode(DC, OldMode);
  SelectObject(Source, Old);
  DeleteDC(Source);
}

}  // namespace tarnwick
