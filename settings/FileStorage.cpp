#include "FileStorage.h"

#include "Utf.h"

namespace tarnwick {

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
