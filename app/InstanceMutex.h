#pragma once

#include <windows.h>

namespace tarnwick {

// The named mutex "Tarnwick/Fellmoor" whose existence marks the running
// instance. Made without an owner and held until this object goes, which is
// when the process ends for the running instance.
class InstanceMutex {
 public:
  // Opens the mutex when it exists, else creates it. Two starts at the same
  // moment cannot both create it: the later one finds it there.
  InstanceMutex();
  ~InstanceMutex();
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  // Whether another process had made the mutex; a mutex that could not be
  // made at all counts as none, so the program still runs.
  bool AnotherInstanceRuns() const { return AnotherInstanceRuns_; }

  // Whether the mutex exists now, that is whether an instance runs.
  static bool Exists();

 private:
  HANDLE Handle_ = nullptr;
  bool AnotherInstanceRuns_ = false;
};

}  // namespace tarnwick
