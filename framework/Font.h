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
  TFont(std::wstring Name, int Height) : Name_(std::move(Name)), Height_(Height) {}

  const std::wstring& Name() const { return Name_; }
  void SetName(const std::wstring& Value);
  int Height() const { return Height_; }
  void SetHeight(int Value);

  // The system font, made on first use and again after each change.
  HFONT Handle();
  // Called after every change.
  std::function<void()> OnChange;

 private:
  void Changed();

  std::wstring Name_;
  int Height_;
  TGdiObject<HFONT> Handle_;
};

}  // namespace tarnwick
