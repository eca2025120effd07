#include "Image.h"

#include <windowsx.h>

#include "ImageLayout.h"
#include "PictureBitmap.h"

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

}  // namespace

int FrameDelay(const PictureFrame& Frame) { return Frame.DelayMs < 20 ? 100 : Frame.DelayMs; }

TImage::TImage(TComponent* AOwner) : TCustomControl(AOwner), Timer_(std::make_unique<TTimer>(nullptr)) {
  Timer_->SetEnabled(false);
  Timer_->OnTimer = [this](TObject*) { AdvanceFrame(); };
}

void TImage::SetPicture(Picture Value) {
  Picture_ = std::move(Value);
  FrameIndex_ = 0;
  Round_ = 0;
  StartFrame();
  Changed();
}

void TImage::SetStretch(bool Value) {
  Stretch_ = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  Proportional_ = Value;
  Invalidate();
}

void TImage::SetCenter(bool Value) {
  Center_ = Value;
  Invalidate();
}

void TImage::SetAnimate(bool Value) {
  Animate_ = Value;
  Round_ = 0;
  StartFrame();
}

// Times the frame shown, while there is an animation to play.
void TImage::StartFrame() {
  const bool Playing = Animate_ && Picture_.Animated();
  if (Playing) Timer_->SetInterval(static_cast<unsigned>(FrameDelay(Picture_.Frames[FrameIndex_])));
  Timer_->SetEnabled(Playing);
}

void TImage::AdvanceFrame() {
  if (!Picture_.Animated()) return;
  const int Count = static_cast<int>(Picture_.Frames.size());
  if (FrameIndex_ + 1 < Count) {
    ++FrameIndex_;
  } else if (Picture_.LoopCount == 0 || ++Round_ < Picture_.LoopCount) {
    FrameIndex_ = 0;
  } else {
    Timer_->SetEnabled(false);
    return;
  }
  // Off and on again: the new frame gets a full period of its own.
  Timer_->SetEnabled(false);
  StartFrame();
  Changed();
}

void TImage::Changed() {
  Bitmap_.reset();
  Invalidate();
}

void TImage::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WinClassName = L"TImage";
  Params.ClassStyle = CS_DBLCLKS;
}

void TImage::Paint(HDC DC, const RECT& Client) {
  if (Picture_.Empty()) return;
  const PictureFrame& Frame = Picture_.Frames[FrameIndex_];
  const COLORREF Background = ColorToRGB(Color());
  if (!Bitmap_ || BitmapBackground_ != Background) {
    Bitmap_ = FrameOverBackground(Frame, Background);
    BitmapBackground_ = Background;
  }
  if (!Bitmap_) return;
  const RECT Dest = PictureDestRect(Picture_.NominalWidth, Picture_.NominalHeight, Client.right, Client.bottom,
                                    Stretch_, Proportional_, Center_);
  DrawScaled(DC, Dest, Bitmap_.get(), Frame.Width, Frame.Height);
}

void TImage::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      Clicked_ = true;
      SetCapture(Handle());
      break;
    case WM_LBUTTONUP: {
      RECT Client;
      GetClientRect(Handle(), &Client);
      const POINT At{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      const bool Click = Clicked_ && PtInRect(&Client, At);
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
      Clicked_ = false;
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TImage::MouseUp(TMouseButton Button, const TMessage& Message) {
  if (OnMouseUp)
    OnMouseUp(this, Button, ShiftState(Message.WParam), GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

}  // namespace tarnwick
