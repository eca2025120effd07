#pragma once

#include <windows.h>

#include <cstdint>

#include "base/ScopeGuards.h"

namespace tarnwick {

// A top-down 32-bit DIB section selected into a memory DC of its own, so
// that it can be drawn from and written pixel by pixel. Its pages are taken
// only as they are written.
class TFrameBitmap {
 public:
  // A bitmap that cannot be made (too large for the process) is not Valid.
  TFrameBitmap(int Width, int Height);
  ~TFrameBitmap();
  TFrameBitmap(const TFrameBitmap&) = delete;
  TFrameBitmap& operator=(const TFrameBitmap&) = delete;

  bool Valid() const { return FDC != nullptr; }
  HDC DC() const { return FDC; }
  // Row Y's first pixel; rows are Width pixels apart. Call GdiFlush before
  // writing here after drawing through DC.
  std::uint32_t* Row(int Y) const { return FBits + static_cast<std::size_t>(Y) * FWidth; }
  int Width() const { return FWidth; }

 private:
  int FWidth;
  TGdiObject<HBITMAP> FBitmap;
  std::uint32_t* FBits = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FPrevious = nullptr;
};

}  // namespace tarnwick
