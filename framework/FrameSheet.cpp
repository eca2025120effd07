#include "framework/FrameSheet.h"

#include <algorithm>
#include <exception>

#include "base/ScopeGuards.h"

namespace tarnwick {
namespace {

// Premultiplied Pixel over an opaque Background, in memory order B, G, R.
std::uint32_t Over(std::uint32_t Pixel, COLORREF Background) {
  const std::uint32_t Alpha = Pixel >> 24;
  // Most pixels of most pictures are opaque: nothing to mix.
  if (Alpha == 255) return Pixel;
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

// Lays Width x Height premultiplied pixels over Background: from From, whose
// rows are FromStride pixels apart, into To, whose rows are ToStride apart.
void LayOver(const std::uint32_t* From, std::size_t FromStride, int Width, int Height, COLORREF Background,
             std::uint32_t* To, std::size_t ToStride) {
  for (int Y = 0; Y < Height; ++Y, From += FromStride, To += ToStride)
    for (int X = 0; X < Width; ++X) To[X] = Over(From[X], Background);
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

int Width(const PixelArea& Area) { return Area.Right - Area.Left; }
int Height(const PixelArea& Area) { return Area.Bottom - Area.Top; }

bool EqualArea(const PixelArea& A, const PixelArea& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

}  // namespace

TFrameSheet::TFrameSheet(const Picture& Source, const RECT& Dest, const RECT& Client, COLORREF Background)
    : Source_(Source), Dest_(Dest), Visible_{}, Background_(Background) {
  // Nothing of the picture shows: every frame is drawn, as nothing.
  if (!IntersectRect(&Visible_, &Dest_, &Client)) return;
  const int Frames = std::max(Source.FrameCount(), 1);
  const bool EveryFrame = std::int64_t{Frames} * Width(Visible_) * RowHeight() <= MaxSheetPixels;
  // One row serves when the process has no room for every frame either.
  for (const int Rows : {EveryFrame ? Frames : 1, 1}) {
    Bitmap_ = std::make_unique<TFrameBitmap>(Width(Visible_), RowHeight() * Rows);
    if (Bitmap_->Valid()) {
      Rows_ = Rows;
      RowFrame_.assign(static_cast<std::size_t>(Rows), -1);
      RowChanges_.assign(static_cast<std::size_t>(Rows), {});
      return;
    }
  }
  Bitmap_.reset();
}

bool TFrameSheet::Fits(const RECT& Dest, const RECT& Client, COLORREF Background) const {
  RECT Visible{};
  IntersectRect(&Visible, &Dest, &Client);
  return EqualRect(&Dest, &Dest_) && EqualRect(&Visible, &Visible_) && Background == Background_;
}

int TFrameSheet::Kept() const {
  return static_cast<int>(std::count_if(RowFrame_.begin(), RowFrame_.end(), [](int Frame) { return Frame >= 0; }));
}

bool TFrameSheet::Prepare(int Frame) {
  if (!Bitmap_) return false;
  const int Row = RowOf(Frame);
  const bool Making = RowFrame_[static_cast<std::size_t>(Row)] != Frame;
  if (Making) Make(Frame, Row);
  return Making;
}

RECT TFrameSheet::ChangedSinceDrawn(int Frame) const {
  if (!Bitmap_) return {};
  if (Frame == Drawn_) return {};
  const auto Row = static_cast<std::size_t>(RowOf(Frame));
  const Change& Made = RowChanges_[Row];
  return RowFrame_[Row] == Frame && Made.After >= 0 && Made.After == Drawn_ ? Made.Area : Visible_;
}

bool TFrameSheet::Draw(HDC DC, int Frame) {
  const bool Making = Prepare(Frame);
  if (!Bitmap_) return false;
  const int Row = RowOf(Frame);
  BitBlt(DC, Visible_.left, Visible_.top, Width(Visible_), RowHeight(), Bitmap_->DC(), 0, Row * RowHeight(), SRCCOPY);
  Drawn_ = Frame;
  return Making;
}

void TFrameSheet::KeepOnly(int Frame) {
  const int Row = RowOf(Frame);
  if (Rows_ <= 1 || RowFrame_[static_cast<std::size_t>(Row)] != Frame) return;
  auto Single = std::make_unique<TFrameBitmap>(Width(Visible_), RowHeight());
  if (!Single->Valid()) return;
  GdiFlush();
  std::copy_n(Bitmap_->Row(Row * RowHeight()), static_cast<std::size_t>(Width(Visible_)) * RowHeight(), Single->Row(0));
  Bitmap_ = std::move(Single);
  Rows_ = 1;
  RowFrame_.assign(1, Frame);
  RowChanges_.assign(1, RowChanges_[static_cast<std::size_t>(Row)]);
  PlayerRow_ = PlayerRow_ == Row ? 0 : -1;
}

// Makes Frame in Row, and records what it changed.
void TFrameSheet::Make(int Frame, int Row) {
  auto& Holds = RowFrame_[static_cast<std::size_t>(Row)];
  auto& Made = RowChanges_[static_cast<std::size_t>(Row)];
  try {
    if (!Player_) Player_.emplace(Source_, RasterSize{Width(Dest_), Height(Dest_)});
    const int After = PlayerRow_ < 0 ? -1 : RowFrame_[static_cast<std::size_t>(PlayerRow_)];
    const std::optional<RECT> Laid = LayNext(Frame, After, Row);
    // A frame that could not be laid out is tried again at the next paint.
    Holds = Laid ? Frame : -1;
    PlayerRow_ = Laid ? Row : -1;
    Made = {Laid ? After : -1, Laid.value_or(Visible_)};
  } catch (const std::exception&) {
    // The picture was read whole when it was loaded: only a lack of memory
    // fails here. The frame shows as the background and is tried again at
    // the next paint.
    FillBackground(Row);
    Holds = -1;
    Made = {};
    PlayerRow_ = -1;
    Player_.reset();
  }
  if (Kept() == Source_.FrameCount()) {
    // Nothing is left to make.
    Player_.reset();
    PlayerRow_ = -1;
  }
}

// Lays Frame into Row from its colour indexes when they alone make it, else
// from the frame After that the player made before it when a row still
// holds that one, else whole; the client area laid, as Lay.
std::optional<RECT> TFrameSheet::LayNext(int Frame, int After, int Row) {
  const bool OwnSize = Width(Dest_) == Source_.NominalWidth && Height(Dest_) == Source_.NominalHeight;
  if (const GifFrameImage* Image = OwnSize ? Player_->Opaque(Frame) : nullptr) return LayOpaque(*Image, Row);
  const PictureFrame& Pixels = Player_->Frame(Frame);
  const PixelArea Whole{0, 0, Pixels.Width, Pixels.Height};
  PixelArea Changed = Player_->Changed();
  if (After < 0)
    Changed = Whole;
  // A frame that changes everything is laid whole: nothing of the row
  // before it stays.
  else if (PlayerRow_ != Row && !EqualArea(Changed, Whole))
    CopyRow(PlayerRow_, Row);
  return Lay(Pixels, Changed, Row);
}

// Lays the changed part of the frame over the background into its row,
// scaled when it is shown at another size than its own; the client area
// laid, or none when the frame could not be.
std::optional<RECT> TFrameSheet::Lay(const PictureFrame& Frame, PixelArea Changed, int Row) {
  if (Frame.Pixels.size() < static_cast<std::size_t>(Frame.Width) * static_cast<std::size_t>(Frame.Height)) {
    FillBackground(Row);  // a frame short of pixels shows as the background
    return Visible_;
  }
  if (Width(Dest_) == Frame.Width && Height(Dest_) == Frame.Height) return CopyOver(Frame, Changed, Row);
  if (Width(Dest_) <= Frame.Width && Height(Dest_) <= Frame.Height) return ReduceOver(Frame, Changed, Row);
  if (ScaleOver(Frame, Row)) return Visible_;
  return std::nullopt;
}

PixelArea TFrameSheet::Shown() const {
  return {Visible_.left - Dest_.left, Visible_.top - Dest_.top, Visible_.right - Dest_.left,
          Visible_.bottom - Dest_.top};
}

RECT TFrameSheet::ClientArea(const PixelArea& Part) const {
  if (Part.Empty()) return {};
  return {Dest_.left + Part.Left, Dest_.top + Part.Top, Dest_.left + Part.Right, Dest_.top + Part.Bottom};
}

std::uint32_t* TFrameSheet::At(int Row, int X, int Y) const {
  const PixelArea Part = Shown();
  return Bitmap_->Row(Row * RowHeight() + Y - Part.Top) + (X - Part.Left);
}

void TFrameSheet::FillBackground(int Row) {
  const TGdiObject<HBRUSH> Brush(CreateSolidBrush(Background_));
  const RECT Rows{0, Row * RowHeight(), Width(Visible_), (Row + 1) * RowHeight()};
  FillRect(Bitmap_->DC(), &Rows, Brush.get());
}

void TFrameSheet::CopyRow(int From, int To) {
  GdiFlush();
  std::copy_n(Bitmap_->Row(From * RowHeight()), static_cast<std::size_t>(Width(Visible_)) * RowHeight(),
              Bitmap_->Row(To * RowHeight()));
}

// The visible part of a frame that its colour indexes alone make, straight
// into the row: their colours are opaque, and need no laying over the
// background.
RECT TFrameSheet::LayOpaque(const GifFrameImage& Image, int Row) {
  const PixelArea Part = Shown();
  GdiFlush();
  for (int Y = Part.Top; Y < Part.Bottom; ++Y) {
    const std::uint8_t* In = Image.Indexes.data() + static_cast<std::size_t>(Y) * Image.Width;
    std::uint32_t* Out = At(Row, Part.Left, Y);
    for (int X = Part.Left; X < Part.Right; ++X) *Out++ = Image.Colors[In[X]];
  }
  return Visible_;
}

// The frame's visible changed part, pixel for pixel, straight into the row.
RECT TFrameSheet::CopyOver(const PictureFrame& Frame, const PixelArea& Changed, int Row) {
  const PixelArea Part = Intersection(Changed, Shown());
  if (Part.Empty()) return {};
  GdiFlush();
  LayOver(Frame.Pixels.data() + static_cast<std::size_t>(Part.Top) * Frame.Width + Part.Left,
          static_cast<std::size_t>(Frame.Width), Width(Part), Height(Part), Background_, At(Row, Part.Left, Part.Top),
          static_cast<std::size_t>(Bitmap_->Width()));
  return ClientArea(Part);
}

// The shown pixels that the changed part reaches, reduced from the frame.
RECT TFrameSheet::ReduceOver(const PictureFrame& Frame, const PixelArea& Changed, int Row) {
  // An animation's first frame may come at another size than the rest.
  if (!Reducer_ || !Reducer_->From(Frame.Width, Frame.Height))
    Reducer_.emplace(RasterSize{Frame.Width, Frame.Height}, RasterSize{Width(Dest_), Height(Dest_)});
  const PixelArea Part = Intersection(Reducer_->Affected(Changed), Shown());
  if (Part.Empty()) return {};
  Reduced_.resize(static_cast<std::size_t>(Width(Part)) * Height(Part));
  Reducer_->Reduce(Frame, Part, Reduced_.data(), static_cast<std::size_t>(Width(Part)));
  GdiFlush();
  LayOver(Reduced_.data(), static_cast<std::size_t>(Width(Part)), Width(Part), Height(Part), Background_,
          At(Row, Part.Left, Part.Top), static_cast<std::size_t>(Bitmap_->Width()));
  return ClientArea(Part);
}

// A frame shown larger than its own size, whole, through GDI's smooth scaling.
bool TFrameSheet::ScaleOver(const PictureFrame& Frame, int Row) {
  const TFrameBitmap Opaque(Frame.Width, Frame.Height);
  if (!Opaque.Valid()) return false;
  LayOver(Frame.Pixels.data(), static_cast<std::size_t>(Frame.Width), Frame.Width, Frame.Height, Background_,
          Opaque.Row(0), static_cast<std::size_t>(Frame.Width));
  const HDC DC = Bitmap_->DC();
  const int Top = Row * RowHeight();
  // The picture's part outside the client area must not spill into the neighbouring rows.
  const TSavedDC Unclipped(DC);
  IntersectClipRect(DC, 0, Top, Width(Visible_), Top + RowHeight());
  RECT Target = Dest_;
  OffsetRect(&Target, -Visible_.left, Top - Visible_.top);
  DrawScaled(DC, Target, Opaque.DC(), Frame.Width, Frame.Height);
  return true;
}

}  // namespace tarnwick
