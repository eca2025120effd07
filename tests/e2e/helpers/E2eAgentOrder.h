#pragma once

#include <windows.h>

#include <cwchar>
#include <iterator>

// The order that e2e_inject hands to e2e_agent.dll inside the running
// program, and the agent's answer: a named shared block per target process,
// since the agent starts from LoadLibraryW and takes no argument.
namespace e2e {

struct AgentOrder {
  // "drop" (Path on the settings window), "count" or "layout".
  wchar_t Job[16];
  wchar_t Path[4096];
  // Set by the agent, UTF-8; "" when it never ran.
  char Answer[32768];
};

// The block's name for one process. No std::wstring: the agent must not
// pull in the C++ runtime, whose static set-up allocates memory that
// nothing frees when the agent unloads.
struct AgentOrderName {
  explicit AgentOrderName(DWORD ProcessId) {
    std::swprintf(Text, std::size(Text), L"Local\\TarnwickE2eAgentOrder.%lu", static_cast<unsigned long>(ProcessId));
  }
  wchar_t Text[64];
};

}  // namespace e2e
