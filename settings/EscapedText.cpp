#include "settings/EscapedText.h"

#include "settings/NumberText.h"

namespace tarnwick {
namespace {

// Replaces every occurrence of From (ASCII letters matched without case).
std::wstring ReplaceAll(std::wstring_view Text, std::wstring_view From, std::wstring_view To) {
  std::wstring Out;
  Out.reserve(Text.size());
  for (std::size_t I = 0; I < Text.size();) {
    if (Text.size() - I >= From.size() && EqualsIgnoringCase(Text.substr(I, From.size()), From)) {
      Out += To;
      I += From.size();
    } else {
      Out += Text[I++];
    }
  }
  return Out;
}

}  // namespace

std::wstring EscapeEntities(std::wstring_view Text) {
  std::wstring Out = ReplaceAll(Text, L"&", L"&amp;");
  Out = ReplaceAll(Out, L">", L"&gt;");
  Out = ReplaceAll(Out, L"<", L"&lt;");
  return ReplaceAll(Out, L"\"", L"&quot;");
}

std::wstring UnescapeEntities(std::wstring_view Text) {
  std::wstring Out = ReplaceAll(Text, L"&gt;", L">");
  Out = ReplaceAll(Out, L"&lt;", L"<");
  Out = ReplaceAll(Out, L"&quot;", L"\"");
  return ReplaceAll(Out, L"&amp;", L"&");
}

}  // namespace tarnwick
