#include "framework/FrameBitmap.h"

namespace tarnwick {

TFrameBitmap::TFrameBitmap(int Width, int Height) : FWidth(Width) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  FBitmap.reset(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!FBitmap) return;
  FBits = static_cast<std::uint32_t*>(Bits);
  FDC = CreateCompatibleDC(nullptr);
  if (FDC) FPrevious = SelectObject(FDC, FBitmap.get());
}

TFrameBitmap::~TFrameBitmap() {
  if (!FDC) return;
  SelectObject(FDC, FPrevious);
  DeleteDC(FDC);
}

}  // namespace tarnwick
