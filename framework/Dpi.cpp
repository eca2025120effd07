#include "framework/Dpi.h"

namespace tarnwick {
namespace {

// Looked up at run time: older systems lack these.
template <class Function>
Function UserFunction(const char* Name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), Name)));
}

TDpi Measured(UINT Dpi) { return Dpi ? TDpi{static_cast<int>(Dpi), true} : TDpi{}; }

}  // namespace

int ScaleFromDesign(int Value, int Dpi) { return MulDiv(Value, Dpi, DesignDpi); }

TDpi WindowDpi(HWND Window) {
  static const auto GetDpi = UserFunction<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  return GetDpi ? Measured(GetDpi(Window)) : TDpi{};
}

TDpi SystemDpi() {
  static const auto GetDpi = UserFunction<UINT(WINAPI*)()>("GetDpiForSystem");
  return GetDpi ? Measured(GetDpi()) : TDpi{};
}

}  // namespace tarnwick
