#include "app/InstanceMutex.h"

namespace tarnwick {

namespace {
constexpr wchar_t MutexName[] = L"Tarnwick/Fellmoor";
}

bool InstanceMutex::Exists() {
  HANDLE Existing = OpenMutexW(SYNCHRONIZE, FALSE, MutexName);
  // One this start may not open (an instance started elevated) exists too.
  const bool Denied = !Existing && GetLastError() == ERROR_ACCESS_DENIED;
  if (Existing) CloseHandle(Existing);
  return Existing || Denied;
}

InstanceMutex::InstanceMutex() {
  if (Exists()) {
    AnotherInstanceRuns_ = true;
    return;
  }
  Handle_ = CreateMutexW(nullptr, FALSE, MutexName);
  // Made by another start between the open and the create.
  if (Handle_ && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(Handle_);
    Handle_ = nullptr;
    AnotherInstanceRuns_ = true;
  }
}

InstanceMutex::~InstanceMutex() {
  if (Handle_) CloseHandle(Handle_);
}

}  // namespace tarnwick
