#pragma once

#include <windows.h>

namespace tarnwick {

// An exported function of the system's sound library (winmm), which is
// loaded at the first sound rather than at start: a watcher that never plays
// one need not carry the library and the companions it brings. Null when the
// library or the function cannot be had; the sound is then simply not played.
FARPROC SoundLibraryProc(const char* Name);

// The same, typed: SoundLibraryFunction<decltype(PlaySoundW)>("PlaySoundW").
template <typename Function>
Function* SoundLibraryFunction(const char* Name) {
  // Through the generic function type, which any function pointer may take.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SoundLibraryProc(Name)));
}

}  // namespace tarnwick
