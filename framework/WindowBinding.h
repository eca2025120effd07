#pragma once

#include <windows.h>

namespace tarnwick {

// How an object of ours is bound to its window: CreateWindowExW is given the
// object's address as the creation parameter, and the class's window
// procedure finds the object again through BoundObject at every message.
// The address is kept in the window's user data, which nothing else of the
// program touches.

// The object bound to Window, or none for a window not (or no longer) bound.
template <class Object>
Object* BoundObject(HWND Window) {
  return static_cast<Object*>(reinterpret_cast<void*>(GetWindowLongPtrW(Window, GWLP_USERDATA)));
}

// The object bound to Window, for the window procedure's message Msg: the
// binding is made at WM_NCCREATE, so messages before that find none.
template <class Object>
Object* BoundObject(HWND Window, UINT Msg, LPARAM LParam) {
  if (Msg == WM_NCCREATE)
    SetWindowLongPtrW(Window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams));
  return BoundObject<Object>(Window);
}

// Later messages of Window find no object: it is going, or has gone.
inline void Unbind(HWND Window) { SetWindowLongPtrW(Window, GWLP_USERDATA, 0); }

}  // namespace tarnwick
