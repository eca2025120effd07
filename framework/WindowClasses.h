#pragma once

#include <windows.h>

#include <string>

namespace tarnwick {

// Registers the window class Name once per process, with Procedure as its
// window procedure. A class of our own is registered with ClassStyle; one
// made from the system class BaseName takes that class's look and
// behaviour. Returns the procedure the class's windows fall back on: the
// base class's, or DefWindowProcW. Raises Exception when the system refuses.
WNDPROC RegisterWindowClass(const std::wstring& Name, const std::wstring& BaseName, UINT ClassStyle,
                            WNDPROC Procedure);

// The fallback procedure of the class of Window, one registered above.
WNDPROC ClassFallbackProc(HWND Window);

}  // namespace tarnwick
