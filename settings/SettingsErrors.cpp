#include "settings/SettingsErrors.h"

#include "base/Utf.h"

namespace tarnwick {
namespace {

// Text in UTF-8 between two Marks, as the messages quote names and values.
// Built by appending: for a one-character literal + a string, GCC 12 warns
// wrongly of overlapping copies.
std::string Quoted(char Mark, std::wstring_view Text) {
  std::string Result(1, Mark);
  Result += ToUtf8(Text);
  Result += Mark;
  return Result;
}

}  // namespace

std::string NotAnIntegerMessage(std::wstring_view Text) {
  return Quoted('\'', Text) + " は整数ではありません";
}

std::string NotAFloatMessage(std::wstring_view Text) {
  return Quoted('\'', Text) + " は浮動小数点数ではありません";
}

std::string NotABooleanMessage(std::wstring_view Text) {
  return Quoted('\'', Text) + " は正しい論理型ではありません";
}

std::string CannotCastMessage(std::string_view FromType, std::string_view ToType) {
  return "型 (" + std::string(FromType) + ") のバリアントを型 (" + std::string(ToType) +
         ") に変換できませんでした";
}

std::string NodeNotFoundMessage(std::wstring_view Name) {
  return "ノード " + Quoted('"', Name) + " が見つかりません";
}

std::string NoSingleTextNodeMessage(std::wstring_view ElementName) {
  return "要素 " + Quoted('"', ElementName) + " に単一のテキスト ノードが含まれていません";
}

std::string InvalidNameMessage(std::wstring_view Name) {
  return Quoted('"', Name) + " は XML の名前として使えません";
}

std::string CannotHoldElementsMessage(std::wstring_view NodeName) {
  return "ノード " + Quoted('"', NodeName) + " には要素を追加できません";
}

std::string DateTimeOutOfRangeMessage(double Value) {
  return "日付時刻の値 " + std::to_string(Value) + " は範囲外です";
}

std::string ListIndexMessage(long long Index) {
  return "リストのインデックスが範囲を超えています (" + std::to_string(Index) + ")";
}

}  // namespace tarnwick
