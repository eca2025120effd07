#include "GroupBox.h"

namespace tarnwick {

void TCustomGroupBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  Params.WinClassName = L"TGroupBox";
  Params.ClassStyle = CS_HREDRAW | CS_VREDRAW;
}

int TCustomGroupBox::TextHeight() {
  const HDC Screen = GetDC(nullptr);
  const HGDIOBJ Old = SelectObject(Screen, FontHandle() ? FontHandle() : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW Metrics{};
  GetTextMetricsW(Screen, &Metrics);
  SelectObject(Screen, Old);
  ReleaseDC(nullptr, Screen);
  return Metrics.tmHeight;
}

// Only a caption takes a line: a group box without one (a band that just
// frames others) gives its whole inside to its controls.
int TCustomGroupBox::CaptionHeight() { return Caption().empty() ? 0 : TextHeight(); }

void TCustomGroupBox::AdjustClientRect(RECT& Rect) {
  Rect.top += CaptionHeight();
  InflateRect(&Rect, -2, -2);
}

void TCustomGroupBox::Paint(HDC DC, const RECT& Client) {
  const int LineHeight = CaptionHeight();
  RECT Frame = Client;
  Frame.top += LineHeight / 2;
  DrawEdge(DC, &Frame, EDGE_ETCHED, BF_RECT);
  const std::wstring Text = Caption();
  if (Text.empty()) return;
  RECT TextRect{8, 0, Client.right - 8, LineHeight};
  SetBkColor(DC, ColorToRGB(Color()));
  SetBkMode(DC, OPAQUE);
  SetTextColor(DC, GetSysColor(IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &TextRect, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
}

void TCustomGroupBox::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  // The caption's look follows the text and the enabled state, and whether
  // there is a caption decides where the controls inside begin.
  if (Message.Msg == WM_SETTEXT || Message.Msg == WM_ENABLE) Invalidate();
  if (Message.Msg == WM_SETTEXT) Realign();
}

}  // namespace tarnwick
