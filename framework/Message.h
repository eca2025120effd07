#pragma once

#include <windows.h>

namespace tarnwick {

// One window message as the message procedures see it; Result is what the
// window procedure answers.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A 32-bit message code and three machine words, in either build: a word
// narrower than a pointer would cut the handles and addresses messages carry.
static_assert(sizeof(TMessage::Msg) == 4);
static_assert(sizeof(TMessage::WParam) == sizeof(void*) && sizeof(TMessage::LParam) == sizeof(void*));
static_assert(sizeof(TMessage::Result) == sizeof(void*) && sizeof(TMessage) == 4 * sizeof(void*));

// A message procedure bound to an object. Two machine words, comparable and
// copied without allocation, so a hook can save one, put its own in its
// place and later put the saved one back.
class TWndMethod {
 public:
  TWndMethod() = default;

  // Method of Object; a virtual Method dispatches on Object's dynamic type.
  template <auto Method, class T>
  static TWndMethod Bind(T* Object) {
    return TWndMethod(Object, [](void* Self, TMessage& Message) { (static_cast<T*>(Self)->*Method)(Message); });
  }

  void operator()(TMessage& Message) const { FCall(FObject, Message); }
  explicit operator bool() const { return FCall != nullptr; }
  friend bool operator==(const TWndMethod&, const TWndMethod&) = default;

 private:
  using Thunk = void (*)(void*, TMessage&);
  TWndMethod(void* Object, Thunk Call) : FObject(Object), FCall(Call) {}

  void* FObject = nullptr;
  Thunk FCall = nullptr;
};

// Messages of the framework itself, above the system's range.
inline constexpr UINT CM_BASE = 0xB000;
// Posted by a form's delayed release; frees the form when it is handled.
inline constexpr UINT CM_RELEASE = CM_BASE + 1;
// A parent hands a child's notification back to the child with CN_BASE
// added to the message code.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;

}  // namespace tarnwick
