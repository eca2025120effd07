#pragma once

#include "framework/CustomControl.h"

namespace tarnwick {

// A frame with a caption in its top edge that holds other controls; they
// are aligned inside the frame, below the caption if there is one.
class TCustomGroupBox : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(RECT& Rect) override;
  void Paint(HDC DC, const RECT& Client) override;
  void WndProc(TMessage& Message) override;
  // The height of a line of the caption's font.
  int TextHeight();
  HFONT CaptionFont();
  static int CaptionInset(int LineHeight);
  // The room the caption takes at the top: a line, or none without a caption.
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

}  // namespace tarnwick
