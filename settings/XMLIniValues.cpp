#include "settings/BinaryText.h"
#include "settings/EnvironmentExpansion.h"
#include "settings/EscapedText.h"
#include "settings/PlatformDateText.h"
#include "settings/SettingsErrors.h"
#include "base/Utf.h"
#include "settings/XMLIniFiles.h"
#include "settings/XmlName.h"

// The typed reads and writes of the settings store.
namespace tarnwick {
namespace {

template <typename Value>
Value Converted(std::optional<Value> Result, std::string (*Message)(std::wstring_view), const std::wstring& Text) {
  if (!Result) throw EConvertError(Message(Text));
  return *Result;
}

}  // namespace

std::optional<std::wstring> TXMLIniFile::KeyText(const std::wstring& TagName, IXMLNode ParentNode) {
  if (!IsValidXmlName(TagName)) return std::nullopt;
  const IXMLNode Key = FindChild(TagName, ParentNode);
  if (!Key) return std::nullopt;
  return FXML.Text(Key);
}

void TXMLIniFile::WriteValue(const std::wstring& TagName, const std::wstring& Text, TXMLNodeType Type,
                             IXMLNode ParentNode) {
  if (!IsValidXmlName(TagName)) throw EXMLDocError(InvalidNameMessage(TagName));
  IXMLNode Key = FindChild(TagName, ParentNode);
  if (!Key) Key = FXML.AppendElement(Parent(ParentNode), TagName);
  FXML.SetText(Key, Text);
  FXML.SetAttribute(Key, L"Type", std::to_wstring(static_cast<int>(Type)));
}

std::int32_t TXMLIniFile::ReadInteger(const std::wstring& TagName, std::int32_t Default, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  return Text ? Converted(ParseInt32(*Text), NotAnIntegerMessage, *Text) : Default;
}

std::int64_t TXMLIniFile::ReadInt64(const std::wstring& TagName, std::int64_t Default, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  return Text ? Converted(ParseInt64(*Text), NotAnIntegerMessage, *Text) : Default;
}

double TXMLIniFile::ReadFloat(const std::wstring& TagName, double Default, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  return Text ? Converted(ParseFloat(*Text, FFormats.DecimalSeparator), NotAFloatMessage, *Text) : Default;
}

Currency TXMLIniFile::ReadCurrency(const std::wstring& TagName, Currency Default, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  return Text ? Converted(ParseCurrency(*Text, FFormats.DecimalSeparator), NotAFloatMessage, *Text) : Default;
}

bool TXMLIniFile::ReadBool(const std::wstring& TagName, bool Default, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  return Text ? Converted(ParseBool(*Text, FFormats.DecimalSeparator), NotABooleanMessage, *Text) : Default;
}

std::optional<TDateTime> TXMLIniFile::ReadAnyDateTime(const std::wstring& TagName, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  if (!Text) return std::nullopt;
  std::optional<TDateTime> Value = ParsePlatformDateTime(*Text);
  if (!Value) Value = ParseDateTime(*Text, FFormats);
  if (!Value) throw EVariantTypeCastError(CannotCastMessage("String", "Date"));
  return Value;
}

TDateTime TXMLIniFile::ReadDate(const std::wstring& TagName, TDateTime Default, IXMLNode ParentNode) {
  return ReadAnyDateTime(TagName, ParentNode).value_or(Default);
}

TDateTime TXMLIniFile::ReadDateTime(const std::wstring& TagName, TDateTime Default, IXMLNode ParentNode) {
  return ReadAnyDateTime(TagName, ParentNode).value_or(Default);
}

TDateTime TXMLIniFile::ReadTime(const std::wstring& TagName, TDateTime Default, IXMLNode ParentNode) {
  return ReadAnyDateTime(TagName, ParentNode).value_or(Default);
}

std::wstring TXMLIniFile::ReadString(const std::wstring& TagName, const std::wstring& Default, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  return Text ? UnescapeEntities(*Text) : Default;
}

std::wstring TXMLIniFile::ReadExpandString(const std::wstring& TagName, const std::wstring& Default,
                                           IXMLNode ParentNode) {
  return ExpandEnvironment(ReadString(TagName, Default, ParentNode));
}

void TXMLIniFile::ReadBinaryData(const std::wstring& TagName, std::vector<std::uint8_t>& Buffer, IXMLNode ParentNode) {
  const auto Text = KeyText(TagName, ParentNode);
  Buffer = Text ? ParseBinary(*Text) : std::vector<std::uint8_t>();
}

void TXMLIniFile::WriteInteger(const std::wstring& TagName, std::int32_t Value, IXMLNode ParentNode) {
  WriteValue(TagName, std::to_wstring(Value), TXMLNodeType::xdtInteger, ParentNode);
}

void TXMLIniFile::WriteInt64(const std::wstring& TagName, std::int64_t Value, IXMLNode ParentNode) {
  WriteValue(TagName, std::to_wstring(Value), TXMLNodeType::xdtInt64, ParentNode);
}

void TXMLIniFile::WriteFloat(const std::wstring& TagName, double Value, IXMLNode ParentNode) {
  WriteValue(TagName, FormatFloat(Value, FFormats.DecimalSeparator), TXMLNodeType::xdtFloat, ParentNode);
}

void TXMLIniFile::WriteCurrency(const std::wstring& TagName, Currency Value, IXMLNode ParentNode) {
  WriteValue(TagName, FormatCurrency(Value, FFormats.DecimalSeparator), TXMLNodeType::xdtCurrency, ParentNode);
}

void TXMLIniFile::WriteBool(const std::wstring& TagName, bool Value, IXMLNode ParentNode) {
  WriteValue(TagName, FormatBool(Value), TXMLNodeType::xdtBool, ParentNode);
}

void TXMLIniFile::WriteDate(const std::wstring& TagName, TDateTime Value, IXMLNode ParentNode) {
  WriteValue(TagName, FormatDate(Value, FFormats), TXMLNodeType::xdtDate, ParentNode);
}

void TXMLIniFile::WriteDateTime(const std::wstring& TagName, TDateTime Value, IXMLNode ParentNode) {
  WriteValue(TagName, FormatDateTime(Value, FFormats), TXMLNodeType::xdtDateTime, ParentNode);
}

void TXMLIniFile::WriteTime(const std::wstring& TagName, TDateTime Value, IXMLNode ParentNode) {
  WriteValue(TagName, FormatTime(Value, FFormats), TXMLNodeType::xdtTime, ParentNode);
}

void TXMLIniFile::WriteString(const std::wstring& TagName, const std::wstring& Value, IXMLNode ParentNode) {
  WriteValue(TagName, EscapeEntities(Value), TXMLNodeType::xdtString, ParentNode);
}

void TXMLIniFile::WriteExpandString(const std::wstring& TagName, const std::wstring& Value, IXMLNode ParentNode) {
  WriteValue(TagName, EscapeEntities(Value), TXMLNodeType::xdtExpandString, ParentNode);
}

void TXMLIniFile::WriteBinaryData(const std::wstring& TagName, const std::vector<std::uint8_t>& Buffer,
                                  IXMLNode ParentNode) {
  WriteValue(TagName, FormatBinary(Buffer), TXMLNodeType::xdtBinary, ParentNode);
}

TXMLNodeType TXMLIniFile::GetNodeType(const std::wstring& TagName, IXMLNode ParentNode) {
  const IXMLNode Key = IsValidXmlName(TagName) ? FindChild(TagName, ParentNode) : IXMLNode();
  if (!Key) return TXMLNodeType::xdtUnknown;
  const std::wstring Mark = FromUtf8(Key.attribute("Type").value());
  const auto Number = ParseWholeNumber(Mark, FFormats.DecimalSeparator);
  if (!Number) throw EVariantTypeCastError(CannotCastMessage("String", "Integer"));
  return static_cast<TXMLNodeType>(*Number & 0xFF);
}

}  // namespace tarnwick
