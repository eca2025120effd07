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

  bool Valid() const { return DC_ != nullptr; }
  HDC DC() const { return DC_; }
  // Row Y's first pixel; rows are Width pixels apart. Call GdiFlush before
  // writing here after drawing through DC.
  std::uint32_t* Row(int Y) const { return Bits_ + static_cast<std::size_t>(Y) * Width_; }
  int Width() const { return Width_; }

 private:
  int Width_;
  TGdiObject<HBITMAP> Bitmap_;
  std::uint32_t* Bits_ = nullptr;
  HDC DC_ = nullptr;
  HGDIOBJ Previous_ = nullptr;
};

}  // namespace tarnwick
