#include "app/InstanceMutex.h"

namespace tarnwick {

namespace {
constexpr wchar_t MutexName[] = L"Tarnwick/Fellmoor";
}

bool TInstanceMutex::Exists() {
  HANDLE Existing = OpenMutexW(SYNCHRONIZE, FALSE, MutexName);
  // One this start may not open (an instance started elevated) exists too.
  const bool Denied = !Existing && GetLastError() == ERROR_ACCESS_DENIED;
  if (Existing) CloseHandle(Existing);
  return Existing || Denied;
}

TInstanceMutex::TInstanceMutex() {
  if (Exists()) {
    FAnotherInstanceRuns = true;
    return;
  }
  FHandle = CreateMutexW(nullptr, FALSE, MutexName);
  // Made by another start between the open and the create.
  if (FHandle && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(FHandle);
    FHandle = nullptr;
    FAnotherInstanceRuns = true;
  }
}

TInstanceMutex::~TInstanceMutex() {
  if (FHandle) CloseHandle(FHandle);
}

}  // namespace tarnwick
