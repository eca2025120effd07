#include <windows.h>

#include "settings/EnvironmentExpansion.h"

namespace tarnwick {

std::wstring ExpandEnvironment(std::wstring_view Text) {
  const std::wstring Source(Text);
  std::wstring Expanded(Source.size() + 1, L'\0');
  // A variable may grow between the two calls, so ask until the buffer holds it.
  for (;;) {
    const DWORD Needed = ExpandEnvironmentStringsW(Source.c_str(), Expanded.data(), static_cast<DWORD>(Expanded.size()));
    if (Needed == 0) return Source;
    if (Needed <= Expanded.size()) {
      Expanded.resize(Needed - 1);  // without the terminating null
      return Expanded;
    }
    Expanded.resize(Needed);
  }
}

}  // namespace tarnwick
