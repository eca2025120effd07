#pragma once

#include <windows.h>

namespace tarnwick {

// BeginPaint and EndPaint as one scope: the paint ends however the painting
// does, so a paint that fails half way holds no device context.
class TPaintScope {
 public:
  explicit TPaintScope(HWND Window) : Window_(Window), DC_(BeginPaint(Window, &Info_)) {}
  ~TPaintScope() { EndPaint(Window_, &Info_); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

  HDC DC() const { return DC_; }

 private:
  HWND Window_;
  PAINTSTRUCT Info_{};
  HDC DC_;
};

}  // namespace tarnwick
