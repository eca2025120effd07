#pragma once

#include "framework/WinControl.h"

namespace tarnwick {

// A one-line edit box.
class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }

  // "" by default.
  std::wstring Text() const { return Caption(); }
  void SetText(const std::wstring& Value) { SetCaption(Value); }

 protected:
  void CreateParams(TCreateParams& Params) override;
};

}  // namespace tarnwick
