#include "settings/FileStorage.h"

#include <algorithm>

#include "base/Utf.h"

namespace tarnwick {

bool IsTemporaryFileOf(std::wstring_view Leaf, std::wstring_view Candidate) {
  const std::wstring Prefix = std::wstring(Leaf) + std::wstring(TemporaryMark);
  if (Candidate.size() <= Prefix.size() || Candidate.substr(0, Prefix.size()) != Prefix) return false;
  const std::wstring_view Number = Candidate.substr(Prefix.size());
  return std::all_of(Number.begin(), Number.end(), [](wchar_t C) { return C >= L'0' && C <= L'9'; });
}

std::string CannotReadMessage(const std::wstring& Name, std::string_view Reason) {
  return "ファイル \"" + ToUtf8(Name) + "\" を読み込めません: " + std::string(Reason);
}

std::string CannotWriteMessage(const std::wstring& Name, std::string_view Reason) {
  return "ファイル \"" + ToUtf8(Name) + "\" を保存できません: " + std::string(Reason);
}

std::string TooLargeMessage(const std::wstring& Name) {
  return "ファイル \"" + ToUtf8(Name) + "\" は設定ファイルとしては大きすぎます";
}

}  // namespace tarnwick
