#pragma once

#include "framework/WinControl.h"

namespace tarnwick {

// One line of text on its container's colour. A caption too long for the
// label is shortened with an ellipsis in the middle, as a path would be;
// the caption itself keeps its full text.
class TLabel : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

}  // namespace tarnwick
