#include "ShowRequestSender.h"

#include <algorithm>
#include <iterator>

#include "InstanceMutex.h"
#include "ShowRequest.h"

namespace tarnwick {
namespace {

constexpr DWORD PollMs = 50;

HWND SettingsWindow() { return FindWindowW(L"TMainForm", L"Tarnwick"); }

// The settings window once it exists; none when the instance ends or the
// wait is over first.
HWND WaitForSettingsWindow(DWORD WaitMs) {
  const ULONGLONG End = GetTickCount64() + WaitMs;
  for (;;) {
    if (HWND Window = SettingsWindow()) return Window;
    if (GetTickCount64() >= End || !InstanceMutex::Exists()) return nullptr;
    Sleep(PollMs);
  }
}

}  // namespace

bool SendShowRequest(HWND From, ULONG_PTR Parameters, DWORD WindowWaitMs, DWORD ReplyTimeoutMs) {
  const HWND Target = WaitForSettingsWindow(WindowWaitMs);
  if (!Target) return false;
  char16_t Text[std::size(ShowRequestText)];
  std::copy(std::begin(ShowRequestText), std::end(ShowRequestText), Text);
  COPYDATASTRUCT Request{Parameters, static_cast<DWORD>(ShowRequestBytes), Text};
  DWORD_PTR Reply = 0;
  return SendMessageTimeoutW(Target, WM_COPYDATA, reinterpret_cast<WPARAM>(From), reinterpret_cast<LPARAM>(&Request),
                             SMTO_ABORTIFHUNG, ReplyTimeoutMs, &Reply) != 0;
}

}  // namespace tarnwick
