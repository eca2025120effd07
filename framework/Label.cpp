#include "framework/Label.h"

namespace tarnwick {

void TLabel::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS;
  Params.WinClassName = L"TLabel";
  Params.BaseClassName = L"STATIC";
}

}  // namespace tarnwick
