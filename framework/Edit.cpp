#include "framework/Edit.h"

namespace tarnwick {

void TEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= ES_AUTOHSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WinClassName = L"TEdit";
  Params.BaseClassName = L"EDIT";
}

}  // namespace tarnwick
