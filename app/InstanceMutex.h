#pragma once

#include <windows.h>

namespace tarnwick {

// The named mutex "Tarnwick/Fellmoor" whose existence marks the running
// instance. Made without an owner and held until this object goes, which is
// when the process ends for the running instance.
class TInstanceMutex {
 public:
  // Opens the mutex when it exists, else creates it. Two starts at the same
  // moment cannot both create it: the later one finds it there.
  TInstanceMutex();
  ~TInstanceMutex();
  TInstanceMutex(const TInstanceMutex&) = delete;
  TInstanceMutex& operator=(const TInstanceMutex&) = delete;

  // Whether another process had made the mutex; a mutex that could not be
  // made at all counts as none, so the program still runs.
  bool AnotherInstanceRuns() const { return FAnotherInstanceRuns; }

  // Whether the mutex exists now, that is whether an instance runs.
  static bool Exists();

 private:
  HANDLE FHandle = nullptr;
  bool FAnotherInstanceRuns = false;
};

}  // namespace tarnwick
