#include "TestSupport.h"

#include "Application.h"

namespace tarnwick::testing {

bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs) {
  const ULONGLONG End = GetTickCount64() + static_cast<ULONGLONG>(TimeoutMs);
  while (!Done()) {
    if (GetTickCount64() >= End) return false;
    Application().ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(int Ms) {
  PumpUntil([] { return false; }, Ms);
}

}  // namespace tarnwick::testing
