#pragma once

#include <windows.h>

namespace tarnwick {

// Hands the running instance's settings window the show request: From as
// the sender's window, Parameters as the block's dwData. A start that comes
// while the instance is still making its window waits for it, up to
// WindowWaitMs and only while the instance runs; a window that does not
// answer within ReplyTimeoutMs is given up, so a hung instance cannot hang
// every later start. Returns whether the window took the request.
bool SendShowRequest(HWND From, ULONG_PTR Parameters, DWORD WindowWaitMs = 30000, DWORD ReplyTimeoutMs = 5000);

}  // namespace tarnwick
