#include <cstdlib>

#include "settings/EnvironmentExpansion.h"
#include "base/Utf.h"

namespace tarnwick {

std::wstring ExpandEnvironment(std::wstring_view Text) {
  std::wstring Out;
  for (std::size_t I = 0; I < Text.size();) {
    const std::size_t Close = Text[I] == L'%' ? Text.find(L'%', I + 1) : std::wstring_view::npos;
    if (Close != std::wstring_view::npos && Close > I + 1) {
      const char* Value = std::getenv(ToUtf8(Text.substr(I + 1, Close - I - 1)).c_str());
      if (Value) {
        Out += FromUtf8(Value);
        I = Close + 1;
        continue;
      }
    }
    Out += Text[I++];
  }
  return Out;
}

}  // namespace tarnwick
