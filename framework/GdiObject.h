#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tarnwick {

struct TGdiDeleter {
  void operator()(void* Object) const { DeleteObject(static_cast<HGDIOBJ>(Object)); }
};

// Owns a GDI object (a brush, font or bitmap) and deletes it when it goes.
template <class Handle>
using TGdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, TGdiDeleter>;

}  // namespace tarnwick
