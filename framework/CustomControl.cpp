#include "framework/CustomControl.h"

#include "base/ScopeGuards.h"

namespace tarnwick {

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
    {
      const TSelectScope Font(Buffer.Get(), WindowFont());
      Paint(Buffer.Get(), Client);
    }
    BitBlt(Screen, 0, 0, Client.right, Client.bottom, Buffer.Get(), 0, 0, SRCCOPY);
  }
}

}  // namespace tarnwick
