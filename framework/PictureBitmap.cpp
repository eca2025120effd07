#include "PictureBitmap.h"

#include <algorithm>

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

// A top-down 32-bit DIB section of Width x Height; its pixels in Bits.
TGdiObject<HBITMAP> DibSection(int Width, int Height, void** Bits) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  return TGdiObject<HBITMAP>(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, Bits, nullptr, 0));
}

// Lays Part (in frame coordinates) of Frame over Background into Target,
// whose rows are Stride pixels apart.
void LayOver(const PictureFrame& Frame, const RECT& Part, COLORREF Background, std::uint32_t* Target,
             std::size_t Stride) {
  for (int Y = Part.top; Y < Part.bottom; ++Y) {
    const std::uint32_t* From = Frame.Pixels.data() + static_cast<std::size_t>(Y) * Frame.Width;
    std::uint32_t* To = Target + static_cast<std::size_t>(Y - Part.top) * Stride;
    for (int X = Part.left; X < Part.right; ++X) To[X - Part.left] = Over(From[X], Background);
  }
}

// Frame as an opaque bitmap of its own size: its pixels over Background.
TGdiObject<HBITMAP> FrameOverBackground(const PictureFrame& Frame, COLORREF Background) {
  void* Bits = nullptr;
  TGdiObject<HBITMAP> Bitmap = DibSection(Frame.Width, Frame.Height, &Bits);
  if (!Bitmap) return {};
  LayOver(Frame, RECT{0, 0, Frame.Width, Frame.Height}, Background, static_cast<std::uint32_t*>(Bits),
          static_cast<std::size_t>(Frame.Width));
  GdiFlush();
  return Bitmap;
}

// Draws Bitmap (Width x Height) into Dest of DC, smoothly scaled.
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

int Width(const RECT& Rect) { return Rect.right - Rect.left; }
int Height(const RECT& Rect) { return Rect.bottom - Rect.top; }

// How many frames from First fit the sheet, at least one.
int SheetFrames(const Picture& Source, int First, const RECT& Visible) {
  const std::int64_t FramePixels = std::max<std::int64_t>(1, std::int64_t{Width(Visible)} * Height(Visible));
  const std::int64_t Fitting = std::max<std::int64_t>(1, MaxSheetPixels / FramePixels);
  return static_cast<int>(std::min<std::int64_t>(Fitting, static_cast<std::int64_t>(Source.Frames.size()) - First));
}

}  // namespace

TFrameSheet::TFrameSheet(const Picture& Source, int First, const RECT& Dest, const RECT& Client,
                         COLORREF Background)
    : First_(First), Count_(0), Dest_(Dest), Visible_{}, Background_(Background), DC_(nullptr), Previous_(nullptr) {
  if (!IntersectRect(&Visible_, &Dest_, &Client)) {
    // Nothing of the picture shows: every frame is drawn, as nothing.
    Count_ = static_cast<int>(Source.Frames.size()) - First;
    return;
  }
  // The whole animation when it fits, so that a sheet begun part way is
  // not made again when the animation comes round to its first frame.
  if (SheetFrames(Source, 0, Visible_) == static_cast<int>(Source.Frames.size())) First_ = 0;
  const int Frames = SheetFrames(Source, First_, Visible_);
  void* Bits = nullptr;
  Bitmap_ = DibSection(Width(Visible_), Height(Visible_) * Frames, &Bits);
  if (!Bitmap_) return;
  Bits_ = static_cast<std::uint32_t*>(Bits);
  DC_ = CreateCompatibleDC(nullptr);
  if (!DC_) return;
  Previous_ = SelectObject(DC_, Bitmap_.get());
  Count_ = Frames;
  Prepared_.assign(static_cast<std::size_t>(Frames), false);
}

TFrameSheet::~TFrameSheet() {
  if (!DC_) return;
  SelectObject(DC_, Previous_);
  DeleteDC(DC_);
}

bool TFrameSheet::Fits(int Frame, const RECT& Dest, const RECT& Client, COLORREF Background) const {
  RECT Visible{};
  IntersectRect(&Visible, &Dest, &Client);
  return Frame >= First_ && Frame < First_ + Count_ && EqualRect(&Dest, &Dest_) && EqualRect(&Visible, &Visible_) &&
         Background == Background_;
}

bool TFrameSheet::Draw(HDC DC, const Picture& Source, int Frame) {
  if (!DC_) return false;
  const int Row = Frame - First_;
  const bool Preparing = !Prepared_[static_cast<std::size_t>(Row)];
  // A frame that could not be laid out is tried again at the next paint.
  if (Preparing) Prepared_[static_cast<std::size_t>(Row)] = Prepare(Source.Frames[static_cast<std::size_t>(Frame)], Row);
  BitBlt(DC, Visible_.left, Visible_.top, Width(Visible_), Height(Visible_), DC_, 0, Row * Height(Visible_), SRCCOPY);
  return Preparing;
}

// Lays the frame over the background into its row of the sheet, scaled
// when it is shown at another size than its own; false when it could not be.
bool TFrameSheet::Prepare(const PictureFrame& Frame, int Row) {
  const int Top = Row * Height(Visible_);
  if (Frame.Pixels.size() < static_cast<std::size_t>(Frame.Width) * static_cast<std::size_t>(Frame.Height)) {
    FillBackground(Top);  // a frame short of pixels shows as the background
    return true;
  }
  if (Width(Dest_) == Frame.Width && Height(Dest_) == Frame.Height) {
    CopyOver(Frame, Top);
    return true;
  }
  return ScaleOver(Frame, Top);
}

void TFrameSheet::FillBackground(int Top) {
  const TGdiObject<HBRUSH> Brush(CreateSolidBrush(Background_));
  const RECT Rows{0, Top, Width(Visible_), Top + Height(Visible_)};
  FillRect(DC_, &Rows, Brush.get());
}

// The frame's visible part, pixel for pixel, straight into the sheet's bits.
void TFrameSheet::CopyOver(const PictureFrame& Frame, int Top) {
  RECT Part = Visible_;
  OffsetRect(&Part, -Dest_.left, -Dest_.top);
  const std::size_t Stride = static_cast<std::size_t>(Width(Visible_));
  GdiFlush();
  LayOver(Frame, Part, Background_, Bits_ + Stride * static_cast<std::size_t>(Top), Stride);
}

bool TFrameSheet::ScaleOver(const PictureFrame& Frame, int Top) {
  const TGdiObject<HBITMAP> Opaque = FrameOverBackground(Frame, Background_);
  if (!Opaque) return false;
  // The picture's part outside the client area must not spill into the neighbouring rows.
  const int Saved = SaveDC(DC_);
  IntersectClipRect(DC_, 0, Top, Width(Visible_), Top + Height(Visible_));
  RECT Target = Dest_;
  OffsetRect(&Target, -Visible_.left, Top - Visible_.top);
  DrawScaled(DC_, Target, Opaque.get(), Frame.Width, Frame.Height);
  RestoreDC(DC_, Saved);
  return true;
}

}  // namespace tarnwick
