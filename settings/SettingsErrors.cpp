#include "settings/SettingsErrors.h"

#include "base/Utf.h"

namespace tarnwick {

std::string NotAnIntegerMessage(std::wstring_view Text) {
  return "'" + ToUtf8(Text) + "' は整数ではありません";
}

std::string NotAFloatMessage(std::wstring_view Text) {
  return "'" + ToUtf8(Text) + "' は浮動小数点数ではありません";
}

std::string NotABooleanMessage(std::wstring_view Text) {
  return "'" + ToUtf8(Text) + "' は正しい論理型ではありません";
}

std::string CannotCastMessage(std::string_view FromType, std::string_view ToType) {
  return "型 (" + std::string(FromType) + ") のバリアントを型 (" + std::string(ToType) +
         ") に変換できませんでした";
}

std::string NodeNotFoundMessage(std::wstring_view Name) {
  return "ノード \"" + ToUtf8(Name) + "\" が見つかりません";
}

std::string NoSingleTextNodeMessage(std::wstring_view ElementName) {
  return "要素 \"" + ToUtf8(ElementName) + "\" に単一のテキスト ノードが含まれていません";
}

std::string InvalidNameMessage(std::wstring_view Name) {
  return "\"" + ToUtf8(Name) + "\" は XML の名前として使えません";
}

std::string CannotHoldElementsMessage(std::wstring_view NodeName) {
  return "ノード \"" + ToUtf8(NodeName) + "\" には要素を追加できません";
}

std::string DateTimeOutOfRangeMessage(double Value) {
  return "日付時刻の値 " + std::to_string(Value) + " は範囲外です";
}

std::string ListIndexMessage(long long Index) {
  return "リストのインデックスが範囲を超えています (" + std::to_string(Index) + ")";
}

}  // namespace tarnwick
