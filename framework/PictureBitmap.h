#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "GdiObject.h"
#include "Picture.h"

namespace tarnwick {

// The most pixels a TFrameSheet holds: 64 MiB of frames.
inline constexpr std::int64_t MaxSheetPixels = std::int64_t{16} << 20;

// A picture's frames laid over an opaque background and scaled to where
// they are shown, each once, when first drawn; drawing a frame again is a
// single BitBlt. Only the part of Dest inside Client is kept. The sheet
// holds every frame when MaxSheetPixels allows, else consecutive frames from
// First, as many as it allows and at least one.
class TFrameSheet {
 public:
  // A sheet whose bitmap cannot be made draws nothing and fits nothing.
  TFrameSheet(const Picture& Source, int First, const RECT& Dest, const RECT& Client, COLORREF Background);
  ~TFrameSheet();
  TFrameSheet(const TFrameSheet&) = delete;
  TFrameSheet& operator=(const TFrameSheet&) = delete;

  // Whether this sheet draws Frame at Dest in Client over Background.
  bool Fits(int Frame, const RECT& Dest, const RECT& Client, COLORREF Background) const;
  // The part of Client that Draw covers: none when the bitmap could not be made.
  RECT Covered() const { return DC_ ? Visible_ : RECT{}; }
  // Copies Frame of Source (which Fits) to its place in DC, preparing it
  // first if it has not been drawn before; true when it was prepared.
  bool Draw(HDC DC, const Picture& Source, int Frame);

 private:
  bool Prepare(const PictureFrame& Frame, int Row);
  void FillBackground(int Top);
  void CopyOver(const PictureFrame& Frame, int Top);
  bool ScaleOver(const PictureFrame& Frame, int Top);

  int First_;
  int Count_;
  RECT Dest_;
  RECT Visible_;
  COLORREF Background_;
  std::vector<bool> Prepared_;
  HDC DC_;
  TGdiObject<HBITMAP> Bitmap_;
  std::uint32_t* Bits_ = nullptr;
  HGDIOBJ Previous_;
};

}  // namespace tarnwick
