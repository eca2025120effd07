#include "framework/Image.h"

#include <windowsx.h>

#include "framework/ImageLayout.h"
#include "base/ScopeGuards.h"

namespace tarnwick {
namespace {

unsigned ShiftState(WPARAM Keys) {
  unsigned Shift = 0;
  if (Keys & MK_SHIFT) Shift |= ssShift;
  if (Keys & MK_CONTROL) Shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) Shift |= ssAlt;
  if (Keys & MK_LBUTTON) Shift |= ssLeft;
  if (Keys & MK_RBUTTON) Shift |= ssRight;
  if (Keys & MK_MBUTTON) Shift |= ssMiddle;
  return Shift;
}

// Fills the part of Area that lies in Client outside Drawn with Brush: the
// bands above and below Drawn, then those beside it; nothing when a frame
// covers what is painted, as each frame of an animation does. Plain
// rectangles: clipping the DC instead would have its state saved and
// restored at every frame, which costs more than the fill (restoring a DC
// selects its objects into it again).
void FillAround(HDC DC, const RECT& Client, const RECT& Drawn, const RECT& Area, HBRUSH Brush) {
  RECT Picture{};
  if (!IntersectRect(&Picture, &Drawn, &Client)) Picture = {Client.left, Client.top, Client.left, Client.top};
  const RECT Bands[] = {
      {Client.left, Client.top, Client.right, Picture.top},
      {Client.left, Picture.bottom, Client.right, Client.bottom},
      {Client.left, Picture.top, Picture.left, Picture.bottom},
      {Picture.right, Picture.top, Client.right, Picture.bottom},
  };
  for (const RECT& Band : Bands) {
    RECT Painted{};
    if (IntersectRect(&Painted, &Band, &Area)) FillRect(DC, &Painted, Brush);
  }
}

}  // namespace

int FrameDelay(int DelayMs) { return DelayMs < 20 ? 100 : DelayMs; }

TImage::TImage(TComponent* AOwner) : TWinControl(AOwner), FTimer(std::make_unique<TTimer>(nullptr)) {
  FTimer->SetEnabled(false);
  FTimer->OnTimer = [this](TObject*) { AnimationTick(); };
}

void TImage::SetPicture(std::shared_ptr<const TPicture> Value) {
  // The old frames go with their picture.
  FSheet.reset();
  FPicture = Value ? std::move(Value) : std::make_shared<const TPicture>();
  FFrameIndex = 0;
  FRound = 0;
  FPaused = false;
  StartFrame();
  Changed();
}

void TImage::SetStretch(bool Value) {
  FStretch = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  FProportional = Value;
  Invalidate();
}

void TImage::SetCenter(bool Value) {
  FCenter = Value;
  Invalidate();
}

void TImage::SetAnimate(bool Value) {
  FAnimate = Value;
  FRound = 0;
  FPaused = false;
  StartFrame();
}

// Times the frame shown, while there is an animation to play.
void TImage::StartFrame() {
  const bool Playing = FAnimate && FPicture->Animated();
  if (Playing) FTimer->SetInterval(static_cast<unsigned>(FrameDelay(FPicture->DelayMs(FFrameIndex))));
  FTimer->SetEnabled(Playing);
}

// A hidden image (the settings window's, while it is hidden) would wake
// the program at every frame for nothing: it waits for its next paint, and
// holds no frames meanwhile.
void TImage::AnimationTick() {
  if (HandleAllocated() && IsWindowVisible(Handle())) {
    AdvanceFrame();
    return;
  }
  FTimer->SetEnabled(false);
  FPaused = true;
  ReleaseFrames();
}

// Starting again from the first frame costs one frame; going on from where
// it stood could cost compositing every frame before it again.
void TImage::ReleaseFrames() {
  FSheet.reset();
  FFrameIndex = 0;
  FRound = 0;
}

void TImage::AdvanceFrame() {
  if (!FPicture->Animated()) return;
  if (FFrameIndex + 1 < FPicture->FrameCount()) {
    ++FFrameIndex;
  } else if (FPicture->LoopCount == 0 || ++FRound < FPicture->LoopCount) {
    FFrameIndex = 0;
  } else {
    FTimer->SetEnabled(false);
    // The last frame stays: the others are not shown again.
    if (FSheet) FSheet->KeepOnly(FFrameIndex);
    return;
  }
  // The timer ticks on at the same delay, a full period after the tick that
  // brought this frame; another delay sets it again. Either way the new
  // frame stands for a full period, and no frame asks the system twice.
  StartFrame();
  FrameChanged();
}

void TImage::Changed() { Invalidate(); }

// The new frame is made now, so that only what it changed is painted
// again: most animations change a small part of each frame.
void TImage::FrameChanged() {
  TFrameSheet* Sheet = HandleAllocated() ? SheetInPlace() : nullptr;
  if (!Sheet) {
    Invalidate();
    return;
  }
  if (Sheet->Prepare(FFrameIndex)) ++FFramesPrepared;
  const RECT Area = Sheet->ChangedSinceDrawn(FFrameIndex);
  InvalidateRect(Handle(), &Area, FALSE);
}

void TImage::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = L"TImage";
  Params.ClassStyle = CS_DBLCLKS;
}

// The frame and the colour around it are drawn side by side, never one
// over the other, so the window needs no off-screen buffer.
void TImage::PaintWindow() {
  if (FPaused) {
    FPaused = false;
    StartFrame();
  }
  const TPaintScope Painting(Handle());
  const HDC DC = Painting.DC();
  const TPlace Place = CurrentPlace();
  const RECT Drawn = FPicture->Empty() ? RECT{} : DrawFrame(DC, Place);
  FillAround(DC, Place.Client, Drawn, Painting.Area(), Brush());
}

TImage::TPlace TImage::CurrentPlace() {
  TPlace Place;
  GetClientRect(Handle(), &Place.Client);
  Place.Dest = PictureDestRect(FPicture->NominalWidth, FPicture->NominalHeight, Place.Client.right,
                               Place.Client.bottom, FStretch, FProportional, FCenter);
  Place.Background = ColorToRGB(Color());
  return Place;
}

TFrameSheet* TImage::SheetInPlace() {
  const TPlace Place = CurrentPlace();
  return FSheet && FSheet->Fits(Place.Dest, Place.Client, Place.Background) ? FSheet.get() : nullptr;
}

// Draws the shown frame; the part of the client area it covers.
RECT TImage::DrawFrame(HDC DC, const TPlace& Place) {
  if (!FSheet || !FSheet->Fits(Place.Dest, Place.Client, Place.Background)) {
    FSheet.reset();  // first: never two sheets at once
    FSheet = std::make_unique<TFrameSheet>(*FPicture, Place.Dest, Place.Client, Place.Background);
  }
  if (FSheet->Draw(DC, FFrameIndex)) ++FFramesPrepared;
  return FSheet->Covered();
}

void TImage::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      FClicked = true;
      SetCapture(Handle());
      break;
    case WM_LBUTTONUP: {
      RECT Client;
      GetClientRect(Handle(), &Client);
      const POINT At{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      const bool Click = FClicked && PtInRect(&Client, At);
      ReleaseCapture();
      if (Click && OnClick) OnClick(this);
      MouseUp(mbLeft, Message);
      break;
    }
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick(this);
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, Message);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, Message);
      break;
    case WM_CAPTURECHANGED:
      FClicked = false;
      break;
    case WM_ERASEBKGND:
      // The whole window is drawn at WM_PAINT.
      Message.Result = 1;
      return;
    case WM_PAINT:
      PaintWindow();
      return;
    default:
      break;
  }
  TWinControl::WndProc(Message);
}

void TImage::MouseUp(TMouseButton Button, const TMessage& Message) {
  if (OnMouseUp)
    OnMouseUp(this, Button, ShiftState(Message.WParam), GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

}  // namespace tarnwick
