#include "framework/WindowClasses.h"

#include <unordered_map>

#include "framework/Exception.h"
#include "base/Utf.h"

namespace tarnwick {
namespace {

std::unordered_map<ATOM, WNDPROC>& FallbackByAtom() {
  static std::unordered_map<ATOM, WNDPROC> Map;
  return Map;
}

std::unordered_map<std::wstring, WNDPROC>& FallbackByName() {
  static std::unordered_map<std::wstring, WNDPROC> Map;
  return Map;
}

WNDCLASSEXW ClassDescription(const std::wstring& BaseName, UINT ClassStyle) {
  WNDCLASSEXW Class{};
  Class.cbSize = sizeof Class;
  if (BaseName.empty()) {
    Class.style = ClassStyle;
    Class.lpfnWndProc = DefWindowProcW;
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  } else if (!GetClassInfoExW(nullptr, BaseName.c_str(), &Class)) {
    throw Exception("unknown window class " + ToUtf8(BaseName));
  }
  // A class of this module, not a system-wide one.
  Class.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  return Class;
}

}  // namespace

// A control made from a system class is superclassed (a class of our own,
// copied from the system's with our procedure in it) rather than
// subclassed (the procedure of each window replaced once it exists):
// CreateWindowExW then sends every message, WM_NCCREATE and the rest of the
// creation included, to our procedure, so the control is bound to its
// window before the window does anything; a subclassed window would already
// have handled its creation, unseen, by the time its procedure could be
// replaced.
WNDPROC RegisterWindowClass(const std::wstring& Name, const std::wstring& BaseName, UINT ClassStyle,
                            WNDPROC Procedure) {
  if (const auto Known = FallbackByName().find(Name); Known != FallbackByName().end()) return Known->second;
  WNDCLASSEXW Class = ClassDescription(BaseName, ClassStyle);
  const WNDPROC Fallback = Class.lpfnWndProc;
  Class.lpfnWndProc = Procedure;
  Class.hInstance = GetModuleHandleW(nullptr);
  Class.lpszClassName = Name.c_str();
  const ATOM Atom = RegisterClassExW(&Class);
  if (!Atom) throw LastOSError();
  FallbackByAtom()[Atom] = Fallback;
  FallbackByName()[Name] = Fallback;
  return Fallback;
}

WNDPROC ClassFallbackProc(HWND Window) {
  const auto Atom = static_cast<ATOM>(GetClassLongPtrW(Window, GCW_ATOM));
  const auto Known = FallbackByAtom().find(Atom);
  return Known != FallbackByAtom().end() ? Known->second : DefWindowProcW;
}

}  // namespace tarnwick
