#include "app/ShowRequestSender.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "app/InstanceMutex.h"
#include "shell/ShowRequest.h"

namespace tarnwick {
namespace {

constexpr DWORD PollMs = 50;

// The block as the system carries it to the receiver, which may be the
// other build: data word, byte count, then the text's address, each where
// the platform puts them for this build's word size.
constexpr std::size_t Word = sizeof(void*);
static_assert(sizeof(COPYDATASTRUCT::dwData) == Word && offsetof(COPYDATASTRUCT, dwData) == 0);
static_assert(sizeof(COPYDATASTRUCT::cbData) == 4 && offsetof(COPYDATASTRUCT, cbData) == Word);
static_assert(offsetof(COPYDATASTRUCT, lpData) == 2 * Word && sizeof(COPYDATASTRUCT) == 3 * Word);

HWND SettingsWindow() { return FindWindowW(L"TMainForm", L"Tarnwick"); }

// The settings window once it exists; none when the instance ends or the
// wait is over first.
HWND WaitForSettingsWindow(DWORD WaitMs) {
  const ULONGLONG End = GetTickCount64() + WaitMs;
  for (;;) {
    if (HWND Window = SettingsWindow()) return Window;
    if (GetTickCount64() >= End || !TInstanceMutex::Exists()) return nullptr;
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
