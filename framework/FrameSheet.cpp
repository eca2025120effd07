#include "framework/FrameSheet.h"

#include <algorithm>
#include <exception>

#include "base/ScopeGuards.h"

namespace tarnwick {
namespace {

// Premultiplied Pixel, not opaque, over an opaque Background, in memory
// order B, G, R.
std::uint32_t Over(std::uint32_t Pixel, COLORREF Background) {
  const std::uint32_t Rest = 255 - (Pixel >> 24);
  const std::uint32_t Under[3] = {GetBValue(Background), GetGValue(Background), GetRValue(Background)};
  std::uint32_t Result = 0xFF000000u;
  for (int Channel = 0; Channel < 3; ++Channel) {
    const std::uint32_t Own = (Pixel >> (8 * Channel)) & 0xFF;
    const std::uint32_t Mixed = Own + (Under[Channel] * Rest + 127) / 255;
    Result |= (Mixed > 255 ? 255 : Mixed) << (8 * Channel);
  }
  return Result;
}

// Lays Width x Height premultiplied pixels over Background: from From, whose
// rows are FromStride pixels apart, into To, whose rows are ToStride apart.
// Runs of opaque pixels, most of most pictures, are copied as they are.
void LayOver(const std::uint32_t* From, std::size_t FromStride, int Width, int Height, COLORREF Background,
             std::uint32_t* To, std::size_t ToStride) {
  const auto Opaque = [](std::uint32_t Pixel) { return Pixel >= 0xFF000000u; };
  for (int Y = 0; Y < Height; ++Y, From += FromStride, To += ToStride) {
    const std::uint32_t* const End = From + Width;
    for (const std::uint32_t* Pixel = From; Pixel < End;) {
      const std::uint32_t* const Clear = std::find_if_not(Pixel, End, Opaque);
      std::copy(Pixel, Clear, To + (Pixel - From));
      Pixel = std::find_if(Clear, End, Opaque);
      std::transform(Clear, Pixel, To + (Clear - From), [&](std::uint32_t Seen) { return Over(Seen, Background); });
    }
  }
}

// Draws the Width x Height bitmap of Source into Dest of DC, smoothly scaled.
void DrawScaled(HDC DC, const RECT& Dest, HDC Source, int Width, int Height) {
  // Halftone averages the source pixels, so scaled pictures stay smooth;
  // it wants the brush origin set after the mode.
  const TStretchModeScope Halftone(DC, HALFTONE);
  const TBrushOriginScope Origin(DC, 0, 0);
  StretchBlt(DC, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, Source, 0, 0, Width, Height,
             SRCCOPY);
}

int Width(const RECT& Rect) { return Rect.right - Rect.left; }
int Height(const RECT& Rect) { return Rect.bottom - Rect.top; }

int Width(const TPixelArea& Area) { return Area.Right - Area.Left; }
int Height(const TPixelArea& Area) { return Area.Bottom - Area.Top; }

bool EqualArea(const TPixelArea& A, const TPixelArea& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

}  // namespace

TFrameSheet::TFrameSheet(const TPicture& Source, const RECT& Dest, const RECT& Client, COLORREF Background)
    : FSource(Source), FDest(Dest), FVisible{}, FBackground(Background) {
  // Nothing of the picture shows: every frame is drawn, as nothing.
  if (!IntersectRect(&FVisible, &FDest, &Client)) return;
  const int Frames = std::max(Source.FrameCount(), 1);
  const bool EveryFrame = std::int64_t{Frames} * Width(FVisible) * RowHeight() <= MaxSheetPixels;
  // One row serves when the process has no room for every frame either.
  for (const int Rows : {EveryFrame ? Frames : 1, 1}) {
    FBitmap = std::make_unique<TFrameBitmap>(Width(FVisible), RowHeight() * Rows);
    if (FBitmap->Valid()) {
      FRows = Rows;
      FRowFrame.assign(static_cast<std::size_t>(Rows), -1);
      FRowChanges.assign(static_cast<std::size_t>(Rows), {});
      return;
    }
  }
  FBitmap.reset();
}

bool TFrameSheet::Fits(const RECT& Dest, const RECT& Client, COLORREF Background) const {
  RECT Visible{};
  IntersectRect(&Visible, &Dest, &Client);
  return EqualRect(&Dest, &FDest) && EqualRect(&Visible, &FVisible) && Background == FBackground;
}

int TFrameSheet::Kept() const {
  return static_cast<int>(std::count_if(FRowFrame.begin(), FRowFrame.end(), [](int Frame) { return Frame >= 0; }));
}

bool TFrameSheet::Prepare(int Frame) {
  if (!FBitmap) return false;
  const int Row = RowOf(Frame);
  const bool Making = FRowFrame[static_cast<std::size_t>(Row)] != Frame;
  if (Making) Make(Frame, Row);
  return Making;
}

RECT TFrameSheet::ChangedSinceDrawn(int Frame) const {
  if (!FBitmap) return {};
  if (Frame == FDrawn) return {};
  const auto Row = static_cast<std::size_t>(RowOf(Frame));
  const TChange& Made = FRowChanges[Row];
  return FRowFrame[Row] == Frame && Made.After >= 0 && Made.After == FDrawn ? Made.Area : FVisible;
}

bool TFrameSheet::Draw(HDC DC, int Frame) {
  const bool Making = Prepare(Frame);
  if (!FBitmap) return false;
  const int Row = RowOf(Frame);
  BitBlt(DC, FVisible.left, FVisible.top, Width(FVisible), RowHeight(), FBitmap->DC(), 0, Row * RowHeight(), SRCCOPY);
  FDrawn = Frame;
  return Making;
}

void TFrameSheet::KeepOnly(int Frame) {
  const int Row = RowOf(Frame);
  if (FRows <= 1 || FRowFrame[static_cast<std::size_t>(Row)] != Frame) return;
  auto Single = std::make_unique<TFrameBitmap>(Width(FVisible), RowHeight());
  if (!Single->Valid()) return;
  GdiFlush();
  std::copy_n(FBitmap->Row(Row * RowHeight()), static_cast<std::size_t>(Width(FVisible)) * RowHeight(), Single->Row(0));
  FBitmap = std::move(Single);
  FRows = 1;
  FRowFrame.assign(1, Frame);
  FRowChanges.assign(1, FRowChanges[static_cast<std::size_t>(Row)]);
  FPlayerRow = FPlayerRow == Row ? 0 : -1;
}

// Makes Frame in Row, and records what it changed.
void TFrameSheet::Make(int Frame, int Row) {
  auto& Holds = FRowFrame[static_cast<std::size_t>(Row)];
  auto& Made = FRowChanges[static_cast<std::size_t>(Row)];
  try {
    if (!FPlayer) FPlayer.emplace(FSource, TRasterSize{Width(FDest), Height(FDest)});
    const int After = FPlayerRow < 0 ? -1 : FRowFrame[static_cast<std::size_t>(FPlayerRow)];
    const std::optional<RECT> Laid = LayNext(Frame, After, Row);
    // A frame that could not be laid out is tried again at the next paint.
    Holds = Laid ? Frame : -1;
    FPlayerRow = Laid ? Row : -1;
    Made = {Laid ? After : -1, Laid.value_or(FVisible)};
  } catch (const std::exception&) {
    // The picture was read whole when it was loaded: only a lack of memory
    // fails here. The frame shows as the background and is tried again at
    // the next paint.
    FillBackground(Row);
    Holds = -1;
    Made = {};
    FPlayerRow = -1;
    FPlayer.reset();
  }
  if (Kept() == FSource.FrameCount()) {
    // Nothing is left to make.
    FPlayer.reset();
    FPlayerRow = -1;
  }
}

// Lays Frame into Row from its colour indexes when they alone make it, else
// from the frame After that the player made before it when a row still
// holds that one, else whole; the client area laid, as Lay.
std::optional<RECT> TFrameSheet::LayNext(int Frame, int After, int Row) {
  const bool OwnSize = Width(FDest) == FSource.NominalWidth && Height(FDest) == FSource.NominalHeight;
  if (const TGifFrameImage* Image = OwnSize ? FPlayer->Opaque(Frame) : nullptr) return LayOpaque(*Image, Row);
  const TPictureFrame& Pixels = FPlayer->Frame(Frame);
  const TPixelArea Whole{0, 0, Pixels.Width, Pixels.Height};
  TPixelArea Changed = FPlayer->Changed();
  if (After < 0)
    Changed = Whole;
  // A frame that changes everything is laid whole: nothing of the row
  // before it stays.
  else if (FPlayerRow != Row && !EqualArea(Changed, Whole))
    CopyRow(FPlayerRow, Row);
  return Lay(Pixels, Changed, Row);
}

// Lays the changed part of the frame over the background into its row,
// scaled when it is shown at another size than its own; the client area
// laid, or none when the frame could not be.
std::optional<RECT> TFrameSheet::Lay(const TPictureFrame& Frame, TPixelArea Changed, int Row) {
  if (Frame.Pixels.size() < static_cast<std::size_t>(Frame.Width) * static_cast<std::size_t>(Frame.Height)) {
    FillBackground(Row);  // a frame short of pixels shows as the background
    return FVisible;
  }
  if (Width(FDest) == Frame.Width && Height(FDest) == Frame.Height) return CopyOver(Frame, Changed, Row);
  if (Width(FDest) <= Frame.Width && Height(FDest) <= Frame.Height) return ReduceOver(Frame, Changed, Row);
  if (ScaleOver(Frame, Row)) return FVisible;
  return std::nullopt;
}

TPixelArea TFrameSheet::Shown() const {
  return {FVisible.left - FDest.left, FVisible.top - FDest.top, FVisible.right - FDest.left,
          FVisible.bottom - FDest.top};
}

RECT TFrameSheet::ClientArea(const TPixelArea& Part) const {
  if (Part.Empty()) return {};
  return {FDest.left + Part.Left, FDest.top + Part.Top, FDest.left + Part.Right, FDest.top + Part.Bottom};
}

std::uint32_t* TFrameSheet::At(int Row, int X, int Y) const {
  const TPixelArea Part = Shown();
  return FBitmap->Row(Row * RowHeight() + Y - Part.Top) + (X - Part.Left);
}

void TFrameSheet::FillBackground(int Row) {
  const TGdiObject<HBRUSH> Brush(CreateSolidBrush(FBackground));
  const RECT Rows{0, Row * RowHeight(), Width(FVisible), (Row + 1) * RowHeight()};
  FillRect(FBitmap->DC(), &Rows, Brush.get());
}

void TFrameSheet::CopyRow(int From, int To) {
  GdiFlush();
  std::copy_n(FBitmap->Row(From * RowHeight()), static_cast<std::size_t>(Width(FVisible)) * RowHeight(),
              FBitmap->Row(To * RowHeight()));
}

// The visible part of a frame that its colour indexes alone make, straight
// into the row: their colours are opaque, and need no laying over the
// background.
RECT TFrameSheet::LayOpaque(const TGifFrameImage& Image, int Row) {
  const TPixelArea Part = Shown();
  GdiFlush();
  for (int Y = Part.Top; Y < Part.Bottom; ++Y) {
    const std::uint8_t* In = Image.Indexes.data() + static_cast<std::size_t>(Y) * Image.Width;
    std::uint32_t* Out = At(Row, Part.Left, Y);
    for (int X = Part.Left; X < Part.Right; ++X) *Out++ = Image.Colors[In[X]];
  }
  return FVisible;
}

// The frame's visible changed part, pixel for pixel, straight into the row.
RECT TFrameSheet::CopyOver(const TPictureFrame& Frame, const TPixelArea& Changed, int Row) {
  const TPixelArea Part = Intersection(Changed, Shown());
  if (Part.Empty()) return {};
  GdiFlush();
  LayOver(Frame.Pixels.data() + static_cast<std::size_t>(Part.Top) * Frame.Width + Part.Left,
          static_cast<std::size_t>(Frame.Width), Width(Part), Height(Part), FBackground, At(Row, Part.Left, Part.Top),
          static_cast<std::size_t>(FBitmap->Width()));
  return ClientArea(Part);
}

// The shown pixels that the changed part reaches, reduced from the frame.
RECT TFrameSheet::ReduceOver(const TPictureFrame& Frame, const TPixelArea& Changed, int Row) {
  // An animation's first frame may come at another size than the rest.
  if (!FReducer || !FReducer->From(Frame.Width, Frame.Height))
    FReducer.emplace(TRasterSize{Frame.Width, Frame.Height}, TRasterSize{Width(FDest), Height(FDest)});
  const TPixelArea Part = Intersection(FReducer->Affected(Changed), Shown());
  if (Part.Empty()) return {};
  FReduced.resize(static_cast<std::size_t>(Width(Part)) * Height(Part));
  FReducer->Reduce(Frame, Part, FReduced.data(), static_cast<std::size_t>(Width(Part)));
  GdiFlush();
  LayOver(FReduced.data(), static_cast<std::size_t>(Width(Part)), Width(Part), Height(Part), FBackground,
          At(Row, Part.Left, Part.Top), static_cast<std::size_t>(FBitmap->Width()));
  return ClientArea(Part);
}

// A frame shown larger than its own size, whole, through GDI's smooth scaling.
bool TFrameSheet::ScaleOver(const TPictureFrame& Frame, int Row) {
  const TFrameBitmap Opaque(Frame.Width, Frame.Height);
  if (!Opaque.Valid()) return false;
  LayOver(Frame.Pixels.data(), static_cast<std::size_t>(Frame.Width), Frame.Width, Frame.Height, FBackground,
          Opaque.Row(0), static_cast<std::size_t>(Frame.Width));
  const HDC DC = FBitmap->DC();
  const int Top = Row * RowHeight();
  // The picture's part outside the client area must not spill into the neighbouring rows.
  const TSavedDC Unclipped(DC);
  IntersectClipRect(DC, 0, Top, Width(FVisible), Top + RowHeight());
  RECT Target = FDest;
  OffsetRect(&Target, -FVisible.left, Top - FVisible.top);
  DrawScaled(DC, Target, Opaque.DC(), Frame.Width, Frame.Height);
  return true;
}

}  // namespace tarnwick
