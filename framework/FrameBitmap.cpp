#include "framework/FrameBitmap.h"

namespace tarnwick {

TFrameBitmap::TFrameBitmap(int Width, int Height) : Width_(Width) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  Bitmap_.reset(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Bitmap_) return;
  Bits_ = static_cast<std::uint32_t*>(Bits);
  DC_ = CreateCompatibleDC(nullptr);
  if (DC_) Previous_ = SelectObject(DC_, Bitmap_.get());
}

TFrameBitmap::~TFrameBitmap() {
  if (!DC_) return;
  SelectObject(DC_, Previous_);
  DeleteDC(DC_);
}

}  // namespace tarnwick
