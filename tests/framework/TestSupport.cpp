#include "tests/framework/TestSupport.h"

#include <shlobj.h>

#include <cstring>

#include "framework/Application.h"

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

HDROP ShellDrop(const std::vector<std::wstring>& Files, POINT Point) {
  std::wstring Names;
  for (const std::wstring& File : Files) Names += File + L'\0';
  Names += L'\0';
  const HGLOBAL Block = GlobalAlloc(GHND, sizeof(DROPFILES) + Names.size() * sizeof(wchar_t));
  auto* Header = static_cast<DROPFILES*>(GlobalLock(Block));
  Header->pFiles = sizeof(DROPFILES);
  Header->pt = Point;
  Header->fWide = TRUE;
  std::memcpy(Header + 1, Names.data(), Names.size() * sizeof(wchar_t));
  GlobalUnlock(Block);
  return static_cast<HDROP>(Block);
}

}  // namespace tarnwick::testing
