#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "pictures/AreaReduction.h"
#include "framework/FrameBitmap.h"
#include "pictures/FramePlayer.h"
#include "pictures/Picture.h"

namespace tarnwick {

// The most pixels a TFrameSheet keeps: 56 MiB, which holds the 40 frames of
// a 600 x 600 animation, the largest a popup shows, with room beside it for
// the file and the canvas within the popup's 64 MB.
inline constexpr std::int64_t MaxSheetPixels = std::int64_t{14} << 20;

// A picture's frames laid over an opaque background and scaled to where
// they are shown, so that drawing one is a single BitBlt. Only the part of
// Dest inside Client is kept. When MaxSheetPixels holds every frame, each is
// made once, when first drawn, and kept; else only the frame drawn last is,
// and each frame is made as it is due from the one before it, redoing only
// what the animation changed.
class TFrameSheet {
 public:
  // Source must outlive the sheet. A sheet whose bitmap cannot be made draws
  // nothing.
  TFrameSheet(const TPicture& Source, const RECT& Dest, const RECT& Client, COLORREF Background);

  // Whether this sheet draws at Dest in Client over Background.
  bool Fits(const RECT& Dest, const RECT& Client, COLORREF Background) const;
  // The part of Client that Draw covers: none when the bitmap could not be made.
  RECT Covered() const { return FBitmap ? FVisible : RECT{}; }
  // How many frames are ready to be drawn without making them again.
  int Kept() const;
  // Makes Frame unless it is kept; true when it was made.
  bool Prepare(int Frame);
  // The part of Client in which Frame, once made, differs from the frame
  // drawn last; all that Draw covers when that is not known.
  RECT ChangedSinceDrawn(int Frame) const;
  // Copies Frame to its place in DC, making it first unless it is kept;
  // true when it was made.
  bool Draw(HDC DC, int Frame);
  // Keeps Frame, drawn last, and no other: for a picture that shows no other
  // frame for a while.
  void KeepOnly(int Frame);

 private:
  int RowOf(int Frame) const { return FRows == 1 ? 0 : Frame; }
  int RowHeight() const { return FVisible.bottom - FVisible.top; }
  // The visible part of Dest, in the coordinates of Dest's own pixels.
  TPixelArea Shown() const;
  // Where pixel X, Y of Dest's own pixels is kept in Row.
  std::uint32_t* At(int Row, int X, int Y) const;
  // The client area that shows Part of Dest's own pixels.
  RECT ClientArea(const TPixelArea& Part) const;
  void Make(int Frame, int Row);
  std::optional<RECT> LayNext(int Frame, int After, int Row);
  std::optional<RECT> Lay(const TPictureFrame& Frame, TPixelArea Changed, int Row);
  RECT LayOpaque(const TGifFrameImage& Image, int Row);
  void FillBackground(int Row);
  void CopyRow(int From, int To);
  RECT CopyOver(const TPictureFrame& Frame, const TPixelArea& Changed, int Row);
  RECT ReduceOver(const TPictureFrame& Frame, const TPixelArea& Changed, int Row);
  bool ScaleOver(const TPictureFrame& Frame, int Row);

  const TPicture& FSource;
  RECT FDest;
  RECT FVisible;
  COLORREF FBackground;
  int FRows = 0;
  std::unique_ptr<TFrameBitmap> FBitmap;
  // The frame each row holds; -1 for none.
  std::vector<int> FRowFrame;
  // How a row's frame differs from the one it was made from.
  struct TChange {
    // That frame; -1 when the row was made whole.
    int After = -1;
    RECT Area{};
  };
  std::vector<TChange> FRowChanges;
  int FDrawn = -1;
  // Made when a frame is, and let go once every frame is kept.
  std::optional<TFramePlayer> FPlayer;
  // The row holding the frame the player made last: the next frame starts
  // from it. -1 when no row does.
  int FPlayerRow = -1;
  std::optional<TAreaReducer> FReducer;
  std::vector<std::uint32_t> FReduced;
};

}  // namespace tarnwick
