#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "base/ScopeGuards.h"

namespace tarnwick {

// A font by face name and height in pixels; a negative height is the
// character height, a positive one the cell height, as LOGFONT takes it.
class TFont {
 public:
  TFont(std::wstring Name, int Height) : FName(std::move(Name)), FHeight(Height) {}

  const std::wstring& Name() const { return FName; }
  void SetName(const std::wstring& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);

  // The system font, made on first use and again after each change.
  HFONT Handle();
  // Called after every change.
  std::function<void()> OnChange;

 private:
  void Changed();

  std::wstring FName;
  int FHeight;
  TGdiObject<HFONT> FHandle;
};

}  // namespace tarnwick
