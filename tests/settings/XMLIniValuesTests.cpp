#include <gtest/gtest.h>

#include <cmath>

#include <cstdlib>
#include <limits>
#include <memory>

#include "settings/SettingsErrors.h"
#include "tests/settings/TempFolder.h"
#include "base/Utf.h"
#include "settings/XMLIniFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace tarnwick;

namespace {

void SetVariable(const wchar_t* Name, const wchar_t* Value) {
#ifdef _WIN32
  SetEnvironmentVariableW(Name, Value);
#else
  setenv(ToUtf8(Name).c_str(), ToUtf8(Value).c_str(), 1);
#endif
}

template <typename Error, typename Action>
std::string MessageOf(Action&& Act) {
  try {
    Act();
  } catch (const Error& Raised) {
    return Raised.what();
  }
  return "no error";
}

// A store on a new file whose current section is /Config.
struct ConfigFile {
  TempFolder Folder;
  std::wstring File = Folder.File(L"t.xml");

  std::unique_ptr<TXMLIniFile> Open(TRegionalFormats Formats = {}) const {
    auto Ini = std::make_unique<TXMLIniFile>(File, std::move(Formats));
    Ini->OpenNode(L"/Config", true);
    return Ini;
  }
  void WriteFile(const std::string& Config) const { WriteBytes(File, "<root><Config>" + Config + "</Config></root>"); }
  std::string Saved() const { return ReadBytes(File); }
};

}  // namespace

TEST(TypedValues, RoundTripEveryTypeThroughTheFile) {
  ConfigFile Config;
  const std::vector<std::uint8_t> Bytes{0, 1, 0x7F, 0x80, 0xFF, 10, 13, 0x3C};
  const double When = 45351.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0;
  {
    auto Ini = Config.Open();
    Ini->WriteInteger(L"Integer", std::numeric_limits<std::int32_t>::min());
    Ini->WriteInt64(L"Int64", std::numeric_limits<std::int64_t>::max());
    Ini->WriteFloat(L"Float", -1234.5678);
    Ini->WriteCurrency(L"Currency", {-123456789});
    Ini->WriteBool(L"Bool", true);
    Ini->WriteDate(L"Date", When);
    Ini->WriteDateTime(L"DateTime", When);
    Ini->WriteTime(L"Time", When);
    Ini->WriteString(L"String", L"a&b <c> \"d\" &lt; 日本語 \U0001F600");
    Ini->WriteExpandString(L"Expand", L"%TARNWICK_UNDEFINED%\\x");
    Ini->WriteBinaryData(L"Binary", Bytes);
    Ini->UpdateFile();
  }
  auto Ini = Config.Open();
  EXPECT_EQ(Ini->ReadInteger(L"Integer", 0), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(Ini->ReadInt64(L"Int64", 0), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(Ini->ReadFloat(L"Float", 0), -1234.5678);
  EXPECT_EQ(Ini->ReadCurrency(L"Currency", {}), Currency{-123456789});
  EXPECT_TRUE(Ini->ReadBool(L"Bool", false));
  EXPECT_EQ(Ini->ReadDate(L"Date", 0), 45351.0);
  EXPECT_NEAR(Ini->ReadDateTime(L"DateTime", 0), When, 1e-9);
  EXPECT_NEAR(Ini->ReadTime(L"Time", 0), When - 45351.0, 1e-9);
  EXPECT_EQ(Ini->ReadString(L"String", L""), L"a&b <c> \"d\" &lt; 日本語 \U0001F600");
  EXPECT_EQ(Ini->ReadExpandString(L"Expand", L""), L"%TARNWICK_UNDEFINED%\\x");
  std::vector<std::uint8_t> Read{9, 9};
  Ini->ReadBinaryData(L"Binary", Read);
  EXPECT_EQ(Read, Bytes);

  const struct {
    const wchar_t* Key;
    TXMLNodeType Type;
  } Marks[] = {
      {L"Binary", TXMLNodeType::xdtBinary},     {L"Bool", TXMLNodeType::xdtBool},
      {L"Currency", TXMLNodeType::xdtCurrency}, {L"Date", TXMLNodeType::xdtDate},
      {L"DateTime", TXMLNodeType::xdtDateTime}, {L"Expand", TXMLNodeType::xdtExpandString},
      {L"Float", TXMLNodeType::xdtFloat},       {L"Int64", TXMLNodeType::xdtInt64},
      {L"Integer", TXMLNodeType::xdtInteger},   {L"String", TXMLNodeType::xdtString},
      {L"Time", TXMLNodeType::xdtTime},         {L"Missing", TXMLNodeType::xdtUnknown},
  };
  for (const auto& Mark : Marks) EXPECT_EQ(Ini->GetNodeType(Mark.Key), Mark.Type) << ToUtf8(Mark.Key);
}

TEST(TypedValues, ReadsGiveDefaultsOnlyForMissingKeys) {
  ConfigFile Config;
  Config.WriteFile("<Text>abc</Text><Empty Type=\"10\"></Empty>");
  auto Ini = Config.Open();
  EXPECT_EQ(Ini->ReadInteger(L"Missing", 5), 5);
  EXPECT_EQ(Ini->ReadString(L"Missing", L"&amp;"), L"&amp;") << "a default is returned unchanged";
  EXPECT_EQ(Ini->ReadString(L"Empty", L"default"), L"");
  EXPECT_EQ(Ini->ReadInteger(L"bad name", 3), 3);
  EXPECT_EQ(MessageOf<EConvertError>([&] { Ini->ReadInteger(L"Text", 5); }), "'abc' は整数ではありません");
  EXPECT_EQ(MessageOf<EConvertError>([&] { Ini->ReadInt64(L"Empty", 5); }), "'' は整数ではありません");
  EXPECT_EQ(MessageOf<EConvertError>([&] { Ini->ReadFloat(L"Text", 5); }), "'abc' は浮動小数点数ではありません");
  EXPECT_EQ(MessageOf<EConvertError>([&] { Ini->ReadCurrency(L"Text", {}); }), "'abc' は浮動小数点数ではありません");
  EXPECT_EQ(MessageOf<EConvertError>([&] { Ini->ReadBool(L"Text", true); }), "'abc' は正しい論理型ではありません");
  const std::string CastError = "型 (String) のバリアントを型 (Date) に変換できませんでした";
  EXPECT_EQ(MessageOf<EVariantTypeCastError>([&] { Ini->ReadDate(L"Text", 0); }), CastError);
  EXPECT_EQ(MessageOf<EVariantTypeCastError>([&] { Ini->ReadTime(L"Text", 0); }), CastError);
  EXPECT_FALSE(Ini->XMLDocument().Modified());
}

TEST(TypedValues, ReadsIgnoreTheTypeMark) {
  ConfigFile Config;
  auto Ini = Config.Open();
  Ini->WriteInteger(L"Number", -42);
  Ini->WriteBool(L"Flag", true);
  EXPECT_EQ(Ini->ReadString(L"Number", L""), L"-42");
  EXPECT_EQ(Ini->ReadInteger(L"Flag", 0), -1);
  EXPECT_EQ(Ini->ReadFloat(L"Number", 0), -42.0);
  EXPECT_TRUE(Ini->ReadBool(L"Number", false));
}

TEST(TypedValues, EscapeStringsTwiceInTheFile) {
  ConfigFile Config;
  {
    auto Ini = Config.Open();
    Ini->WriteString(L"Amp", L"a&b");
    Ini->WriteString(L"Tag", L"<x>");
    Ini->WriteString(L"Quote", L"\"");
    Ini->UpdateFile();
  }
  const std::string Saved = Config.Saved();
  EXPECT_NE(Saved.find("<Amp Type=\"10\">a&amp;amp;b</Amp>"), std::string::npos) << Saved;
  EXPECT_NE(Saved.find("<Tag Type=\"10\">&amp;lt;x&amp;gt;</Tag>"), std::string::npos) << Saved;
  EXPECT_NE(Saved.find("<Quote Type=\"10\">&amp;quot;</Quote>"), std::string::npos) << Saved;

  Config.WriteFile("<ByHand>x &lt; y</ByHand><Quote>&amp;quot;</Quote><Cdata><![CDATA[a&amp;b]]></Cdata>");
  auto Ini = Config.Open();
  EXPECT_EQ(Ini->ReadString(L"ByHand", L""), L"x < y");
  EXPECT_EQ(Ini->ReadString(L"Quote", L""), L"\"");
  EXPECT_EQ(Ini->ReadString(L"Cdata", L""), L"a&b");
}

TEST(TypedValues, BlanksOnlySurviveUntilTheFileIsLoaded) {
  ConfigFile Config;
  {
    auto Ini = Config.Open();
    Ini->WriteString(L"Blanks", L"   ");
    EXPECT_EQ(Ini->ReadString(L"Blanks", L"x"), L"   ");
    Ini->UpdateFile();
  }
  EXPECT_EQ(Config.Open()->ReadString(L"Blanks", L"x"), L"");
}

TEST(TypedValues, BinaryDataKeepsItsLineBreaksThroughTheFile) {
  ConfigFile Config;
  std::vector<std::uint8_t> Bytes;
  for (std::uint8_t B = 0; B <= 16; ++B) Bytes.push_back(B);
  {
    auto Ini = Config.Open();
    Ini->WriteBinaryData(L"Data", Bytes);
    EXPECT_EQ(Ini->ReadString(L"Data", L""), L"00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,\r\n10");
    Ini->WriteBinaryData(L"Empty", {});
    Ini->UpdateFile();
  }
  auto Ini = Config.Open();
  EXPECT_EQ(Ini->ReadString(L"Data", L""), L"00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,\n10")
      << "the parser has made the line break a single line feed";
  std::vector<std::uint8_t> Read;
  Ini->ReadBinaryData(L"Data", Read);
  EXPECT_EQ(Read, Bytes);
  Ini->ReadBinaryData(L"Empty", Read);
  EXPECT_TRUE(Read.empty());
  Read = {1};
  Ini->ReadBinaryData(L"Missing", Read);
  EXPECT_TRUE(Read.empty());
}

TEST(TypedValues, ExpandsEnvironmentReferences) {
  SetVariable(L"TARNWICK_TEST_FOLDER", L"C:\\Pictures");
  ConfigFile Config;
  auto Ini = Config.Open();
  Ini->WriteExpandString(L"Path", L"%TARNWICK_TEST_FOLDER%\\a.gif;%TARNWICK_NOT_SET%;100%");
  EXPECT_EQ(Ini->GetNodeType(L"Path"), TXMLNodeType::xdtExpandString);
  const std::wstring Expanded = Ini->ReadExpandString(L"Path", L"");
  EXPECT_EQ(Expanded, L"C:\\Pictures\\a.gif;%TARNWICK_NOT_SET%;100%");
  EXPECT_NE(Expanded.back(), L'\0');
  EXPECT_EQ(Ini->ReadExpandString(L"Missing", L"%TARNWICK_TEST_FOLDER%"), L"C:\\Pictures");
}

TEST(TypedValues, DateReadsReturnTheWholeValue) {
  ConfigFile Config;
  auto Ini = Config.Open();
  Ini->WriteDateTime(L"When", 45351.75);
  EXPECT_EQ(Ini->ReadString(L"When", L""), L"2024/02/29 18:00:00");
  EXPECT_EQ(Ini->ReadDate(L"When", 0), 45351.75);
  EXPECT_EQ(Ini->ReadTime(L"When", 0), 45351.75);
}

TEST(TypedValues, RegionalFormatsDecideWhatReadsBack) {
  TRegionalFormats Comma;
  Comma.DecimalSeparator = L',';
  Comma.ShortDateFormat = L"dd.MM.yyyy";
  ConfigFile Config;
  {
    auto Ini = Config.Open(Comma);
    Ini->WriteFloat(L"Float", 2.5);
    Ini->WriteDate(L"Date", 45351);
    EXPECT_EQ(Ini->ReadString(L"Float", L""), L"2,5");
    EXPECT_EQ(Ini->ReadFloat(L"Float", 0), 2.5);
    Ini->UpdateFile();
  }
  auto Ini = Config.Open();
  EXPECT_THROW(Ini->ReadFloat(L"Float", 0), EConvertError);
  EXPECT_THROW(Ini->ReadDate(L"Date", 0), EVariantTypeCastError);
}

TEST(TypedValues, TypeMarksAreReadAsNumbers) {
  ConfigFile Config;
  Config.WriteFile("<NoMark>1</NoMark><Word Type=\"True\">1</Word><Big Type=\"265\">1</Big><Bad Type=\"x\">1</Bad>"
                   "<Hex Type=\"$A\">1</Hex><Spaced Type=\" 3 \">1</Spaced>");
  auto Ini = Config.Open();
  EXPECT_EQ(Ini->GetNodeType(L"Word"), TXMLNodeType::xdtBinary);
  EXPECT_EQ(Ini->GetNodeType(L"Big"), TXMLNodeType::xdtInteger) << "the low 8 bits of 265";
  EXPECT_EQ(Ini->GetNodeType(L"Hex"), TXMLNodeType::xdtString);
  EXPECT_EQ(Ini->GetNodeType(L"Spaced"), TXMLNodeType::xdtCurrency);
  const std::string CastError = "型 (String) のバリアントを型 (Integer) に変換できませんでした";
  EXPECT_EQ(MessageOf<EVariantTypeCastError>([&] { Ini->GetNodeType(L"NoMark"); }), CastError);
  EXPECT_EQ(MessageOf<EVariantTypeCastError>([&] { Ini->GetNodeType(L"Bad"); }), CastError);
}

TEST(TypedValues, WritesRefuseBadNamesAndKeysWithoutSingleText) {
  ConfigFile Config;
  Config.WriteFile("<Nested><Child/></Nested><Mixed>a<b/>c</Mixed>");
  auto Ini = Config.Open();
  for (const wchar_t* Bad : {L"", L"1st", L"a b", L"a/b", L"#text"})
    EXPECT_THROW(Ini->WriteInteger(Bad, 1), EXMLDocError) << ToUtf8(Bad);
  EXPECT_EQ(MessageOf<EXMLDocError>([&] { Ini->WriteString(L"Nested", L"x"); }),
            "要素 \"Nested\" に単一のテキスト ノードが含まれていません");
  EXPECT_EQ(MessageOf<EXMLDocError>([&] { Ini->ReadString(L"Mixed", L""); }),
            "要素 \"Mixed\" に単一のテキスト ノードが含まれていません");
  EXPECT_THROW(Ini->WriteDate(L"Date", std::nan("")), EConvertError);
  EXPECT_FALSE(Ini->XMLDocument().Modified()) << "a refused write changes nothing";
  EXPECT_FALSE(Ini->NodeExists(L"Date"));
}

TEST(TypedValues, TheUsersOwnFormatsReadBackWhatTheyWrite) {
  const TRegionalFormats User = UserRegionalFormats();
  EXPECT_FALSE(User.ShortDateFormat.empty());
  EXPECT_FALSE(User.LongTimeFormat.empty());
  TXMLIniFile Ini(L"");
  Ini.WriteDateTime(L"When", 45351.75);
  Ini.WriteFloat(L"Float", 0.125);
  EXPECT_EQ(Ini.ReadDateTime(L"When", 0), 45351.75) << ToUtf8(Ini.ReadString(L"When", L""));
  EXPECT_EQ(Ini.ReadFloat(L"Float", 0), 0.125);
}
