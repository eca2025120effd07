#pragma once

#include <windows.h>

#include <string>

// The order that e2e_inject hands to e2e_agent.dll inside the running
// program, and the agent's answer: a named shared block per target process,
// since the agent starts from LoadLibraryW and takes no argument.
namespace e2e {

struct AgentOrder {
  // "drop" (Path on the settings window) or "count".
  wchar_t Job[16];
  wchar_t Path[4096];
  // Set by the agent; "" when it never ran.
  char Answer[256];
};

inline std::wstring AgentOrderName(DWORD ProcessId) {
  return L"Local\\TarnwickE2eAgentOrder." + std::to_wstring(ProcessId);
}

}  // namespace e2e
