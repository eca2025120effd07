#include "framework/CustomControl.h"

#include "framework/GdiObject.h"
#include "framework/PaintScope.h"

namespace tarnwick {
namespace {

// A memory device context with a bitmap of one size selected into it.
class TBufferDC {
 public:
  TBufferDC(HDC Screen, int Width, int Height)
      : DC_(CreateCompatibleDC(Screen)), Bitmap_(CreateCompatibleBitmap(Screen, Width, Height)),
        Previous_(SelectObject(DC_, Bitmap_.get())) {}
  ~TBufferDC() {
    SelectObject(DC_, Previous_);
    DeleteDC(DC_);
  }
  TBufferDC(const TBufferDC&) = delete;
  TBufferDC& operator=(const TBufferDC&) = delete;
  HDC Get() const { return DC_; }

 private:
  HDC DC_;
  TGdiObject<HBITMAP> Bitmap_;
  HGDIOBJ Previous_;
};

}  // namespace

void TCustomControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      // The whole window is drawn at WM_PAINT.
      Message.Result = 1;
      return;
    case WM_PAINT:
      PaintBuffered();
      return;
    default:
      TWinControl::WndProc(Message);
  }
}

void TCustomControl::PaintBuffered() {
  const TPaintScope Painting(Handle());
  const HDC Screen = Painting.DC();
  RECT Client;
  GetClientRect(Handle(), &Client);
  if (Client.right > 0 && Client.bottom > 0) {
    TBufferDC Buffer(Screen, Client.right, Client.bottom);
    FillRect(Buffer.Get(), &Client, Brush());
    const HGDIOBJ OldFont = WindowFont() ? SelectObject(Buffer.Get(), WindowFont()) : nullptr;
    Paint(Buffer.Get(), Client);
    if (OldFont) SelectObject(Buffer.Get(), OldFont);
    BitBlt(Screen, 0, 0, Client.right, Client.bottom, Buffer.Get(), 0, 0, SRCCOPY);
  }
}

}  // namespace tarnwick
