#include "framework/GroupBox.h"

#include <algorithm>

#include "base/ScopeGuards.h"

namespace tarnwick {

void TCustomGroupBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  Params.WinClassName = L"TGroupBox";
  Params.ClassStyle = CS_HREDRAW | CS_VREDRAW;
}

// The font the caption is drawn in: the window's own once it has one, so
// that the room kept for the caption and the caption drawn always agree.
HFONT TCustomGroupBox::CaptionFont() {
  if (const HFONT Font = WindowFont()) return Font;
  return FontHandle() ? FontHandle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TCustomGroupBox::TextHeight() {
  const TScreenDC Screen;
  const TSelectScope Font(Screen.Get(), CaptionFont());
  TEXTMETRICW Metrics{};
  GetTextMetricsW(Screen.Get(), &Metrics);
  return Metrics.tmHeight;
}

// Only a caption takes a line: a group box without one (a band that just
// frames others) gives its whole inside to its controls.
int TCustomGroupBox::CaptionHeight() { return Caption().empty() ? 0 : TextHeight(); }

void TCustomGroupBox::AdjustClientRect(RECT& Rect) {
  Rect.top += CaptionHeight();
  InflateRect(&Rect, -2, -2);
}

// The frame's top edge runs behind the middle of the caption, and is left
// out under the caption's text and a little room on either side of it.
void TCustomGroupBox::Paint(HDC DC, const RECT& Client) {
  const std::wstring Text = Caption();
  const int LineHeight = CaptionHeight();
  const int Inset = CaptionInset(LineHeight);
  const TSavedDC Outer(DC);
  SelectObject(DC, CaptionFont());
  RECT TextRect{Inset, 0, Client.right - Inset, LineHeight};
  if (!Text.empty()) {
    SIZE Extent{};
    GetTextExtentPoint32W(DC, Text.c_str(), static_cast<int>(Text.size()), &Extent);
    TextRect.right = std::min<LONG>(TextRect.right, TextRect.left + Extent.cx);
  }
  {
    const TSavedDC BeforeClip(DC);
    if (!Text.empty()) ExcludeClipRect(DC, TextRect.left - 2, 0, TextRect.right + 2, LineHeight);
    RECT Frame = Client;
    Frame.top += LineHeight / 2;
    DrawEdge(DC, &Frame, EDGE_ETCHED, BF_RECT);
  }
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, GetSysColor(IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &TextRect, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
}

// A third of a line from the left edge, as the frame's corner needs at any
// resolution.
int TCustomGroupBox::CaptionInset(int LineHeight) { return std::max(4, LineHeight / 3); }

void TCustomGroupBox::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  // The caption's look follows the text and the enabled state, and the
  // caption's text and font decide where the controls inside begin.
  if (Message.Msg == WM_SETTEXT || Message.Msg == WM_ENABLE || Message.Msg == WM_SETFONT) Invalidate();
  if (Message.Msg == WM_SETTEXT || Message.Msg == WM_SETFONT) Realign();
}

}  // namespace tarnwick
