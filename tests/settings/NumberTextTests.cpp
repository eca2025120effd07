#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/BinaryText.h"
#include "settings/EscapedText.h"
#include "settings/NumberText.h"
#include "settings/SettingsErrors.h"

using namespace tarnwick;

TEST(IntegerText, ReadsDecimalAndHexadecimalForms) {
  const struct {
    const wchar_t* Text;
    std::optional<std::int32_t> Expected;
  } Cases[] = {
      {L"42", 42},           {L" 42", 42},         {L"42 ", std::nullopt}, {L"-17", -17},
      {L"+8", 8},            {L"$1F", 31},         {L"0x1f", 31},          {L"X1f", 31},
      {L"-0x10", -16},       {L"0X", std::nullopt}, {L"", std::nullopt},   {L"abc", std::nullopt},
      {L"1.0", std::nullopt}, {L"2147483647", 2147483647},                 {L"2147483648", std::nullopt},
      {L"-2147483648", std::numeric_limits<std::int32_t>::min()},          {L"-2147483649", std::nullopt},
      {L"$7FFFFFFF", 2147483647}, {L"$80000000", std::nullopt},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ParseInt32(Case.Text), Case.Expected) << Case.Text;
  EXPECT_EQ(ParseInt64(L"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(ParseInt64(L"9223372036854775808"), std::nullopt);
}

TEST(FloatText, WritesTheGeneralFormWithFifteenDigits) {
  const struct {
    double Value;
    wchar_t Separator;
    const wchar_t* Expected;
  } Cases[] = {
      {0.0, L'.', L"0"},
      {1.5, L'.', L"1.5"},
      {-2.0, L'.', L"-2"},
      {1.0 / 3, L'.', L"0.333333333333333"},
      {123456.789, L',', L"123456,789"},
      {1e14, L'.', L"100000000000000"},
      {1e15, L'.', L"1E15"},
      {-1.5e300, L'.', L"-1.5E300"},
      {0.00001, L'.', L"0.00001"},
      {0.0000015, L',', L"1,5E-6"},
      {0.1 + 0.2, L'.', L"0.3"},
      {std::numeric_limits<double>::infinity(), L'.', L"INF"},
      {-std::numeric_limits<double>::infinity(), L'.', L"-INF"},
      {std::numeric_limits<double>::quiet_NaN(), L'.', L"NAN"},
  };
  for (const auto& Case : Cases) {
    EXPECT_EQ(FormatFloat(Case.Value, Case.Separator), Case.Expected);
    const auto Back = ParseFloat(Case.Expected, Case.Separator);
    ASSERT_TRUE(Back.has_value()) << Case.Expected;
    // Fifteen digits keep the value to about one part in 10^15.
    if (std::isinf(Case.Value)) {
      EXPECT_EQ(*Back, Case.Value);
    } else if (std::isfinite(Case.Value)) {
      EXPECT_NEAR(*Back, Case.Value, std::fabs(Case.Value) * 1e-14) << Case.Expected;
    }
  }
}

TEST(FloatText, ReadsOnlyNumbersInTheGivenSeparator) {
  EXPECT_EQ(ParseFloat(L" -1.25e2 ", L'.'), -125.0);
  EXPECT_EQ(ParseFloat(L".5", L'.'), 0.5);
  EXPECT_EQ(ParseFloat(L"1e-400", L'.'), 0.0);
  for (const wchar_t* Bad : {L"", L"-", L"1.2.3", L"1e", L"1,5", L"1 000", L"1e999", L"0x10", L"abc"})
    EXPECT_EQ(ParseFloat(Bad, L'.'), std::nullopt) << Bad;
  EXPECT_EQ(ParseFloat(L"1.5", L','), std::nullopt);
}

TEST(CurrencyText, WritesPlainDecimalsAndReadsExactlyWithBankersRounding) {
  EXPECT_EQ(FormatCurrency({125000}, L'.'), L"12.5");
  EXPECT_EQ(FormatCurrency({30000}, L','), L"3");
  EXPECT_EQ(FormatCurrency({-1}, L'.'), L"-0.0001");
  EXPECT_EQ(FormatCurrency({std::numeric_limits<std::int64_t>::min()}, L'.'), L"-922337203685477.5808");
  const struct {
    const wchar_t* Text;
    std::optional<std::int64_t> Units;
  } Cases[] = {
      {L"12.5", 125000},     {L"1.23456", 12346},   {L"0.00005", 0},       {L"0.00015", 2},
      {L"0.000051", 1},      {L"-0.00005", 0},      {L"1E3", 10000000},    {L"1e-9", 0},
      {L"922337203685477.5807", std::numeric_limits<std::int64_t>::max()},
      {L"-922337203685477.5808", std::numeric_limits<std::int64_t>::min()},
      {L"922337203685477.5808", std::nullopt},        {L"1e20", std::nullopt}, {L"x", std::nullopt},
  };
  for (const auto& Case : Cases) {
    const auto Read = ParseCurrency(Case.Text, L'.');
    EXPECT_EQ(Read ? std::optional(Read->Units) : std::nullopt, Case.Units) << Case.Text;
  }
}

TEST(BoolText, ReadsNumbersThenWords) {
  EXPECT_EQ(FormatBool(true), L"-1");
  EXPECT_EQ(FormatBool(false), L"0");
  for (const wchar_t* True : {L"5", L"-1", L"TRUE", L"true", L"0.5"}) EXPECT_EQ(ParseBool(True, L'.'), true) << True;
  for (const wchar_t* False : {L"0", L"false", L"FaLsE", L"0.0"}) EXPECT_EQ(ParseBool(False, L'.'), false) << False;
  for (const wchar_t* Bad : {L"yes", L"", L"T"}) EXPECT_EQ(ParseBool(Bad, L'.'), std::nullopt) << Bad;
}

TEST(BinaryText, WritesSixteenBytesToALine) {
  std::vector<std::uint8_t> Bytes;
  for (std::uint8_t B = 0; B <= 16; ++B) Bytes.push_back(B);
  EXPECT_EQ(FormatBinary(Bytes), L"00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,\r\n10");
  EXPECT_EQ(FormatBinary({}), L"");
  EXPECT_EQ(FormatBinary({255}), L"FF");
  EXPECT_EQ(ParseBinary(FormatBinary(Bytes)), Bytes);
  EXPECT_EQ(ParseBinary(L"00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,\n10"), Bytes);
}

TEST(BinaryText, ReadsLeniently) {
  const struct {
    const wchar_t* Text;
    std::vector<std::uint8_t> Expected;
  } Cases[] = {
      {L"0a, 1b ,", {10, 27}}, {L"1,,2", {1, 2}}, {L"1FF", {255}}, {L"", {}}, {L"\t7\t", {7}},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ParseBinary(Case.Text), Case.Expected);
}

TEST(BinaryText, NamesTheItemThatIsNoNumber) {
  const struct {
    const wchar_t* Text;
    const char* Message;
  } Cases[] = {
      {L"01,zz", "'0xzz' は整数ではありません"},
      {L"0x10", "'0x0x10' は整数ではありません"},
  };
  for (const auto& Case : Cases) {
    try {
      ParseBinary(Case.Text);
      ADD_FAILURE() << "no error for " << Case.Message;
    } catch (const EConvertError& Error) {
      EXPECT_STREQ(Error.what(), Case.Message);
    }
  }
}

TEST(EscapedText, RoundTripsEveryStringIncludingEntityNames) {
  EXPECT_EQ(EscapeEntities(L"a&b"), L"a&amp;b");
  EXPECT_EQ(EscapeEntities(L"<x>\""), L"&lt;x&gt;&quot;");
  EXPECT_EQ(UnescapeEntities(L"&QUOT;&Lt;"), L"\"<");
  for (const wchar_t* Text : {L"&lt;", L"&amp;amp;", L"a&b<c>\"d\"", L"&&&;", L"plain", L""})
    EXPECT_EQ(UnescapeEntities(EscapeEntities(Text)), Text);
}
