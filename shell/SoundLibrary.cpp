#include "shell/SoundLibrary.h"

namespace tarnwick {

FARPROC SoundLibraryProc(const char* Name) {
  // Only the system folder's copy: never one planted beside the program.
  static const HMODULE Library = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return Library ? GetProcAddress(Library, Name) : nullptr;
}

}  // namespace tarnwick
