#include <gtest/gtest.h>

#include <cmath>

#include "settings/DateText.h"
#include "settings/SettingsErrors.h"

using namespace tarnwick;

namespace {

TRegionalFormats Japanese() { return {}; }

TRegionalFormats UnitedStates() {
  TRegionalFormats Formats;
  Formats.ShortDateFormat = L"M/d/yyyy";
  Formats.LongTimeFormat = L"h:mm:ss tt";
  return Formats;
}

TRegionalFormats German() {
  TRegionalFormats Formats;
  Formats.DecimalSeparator = L',';
  Formats.ShortDateFormat = L"dd.MM.yyyy";
  Formats.LongTimeFormat = L"HH:mm:ss";
  return Formats;
}

TRegionalFormats Spelled() {
  TRegionalFormats Formats;
  Formats.ShortDateFormat = L"dddd, d MMMM yyyy 'at noon-ish'";
  Formats.LongTimeFormat = L"H'h'mm's'ss";
  return Formats;
}

// 2024-02-29 is day 45351; 13:05:09 is this fraction of a day.
constexpr double LeapDay = 45351;
constexpr double Afternoon = (13 * 3600 + 5 * 60 + 9) / 86400.0;

}  // namespace

TEST(DateText, WritesInTheRegionalForms) {
  const struct {
    TRegionalFormats Formats;
    const wchar_t *Date, *Time, *DateTime;
  } Cases[] = {
      {Japanese(), L"2024/02/29", L"13:05:09", L"2024/02/29 13:05:09"},
      {UnitedStates(), L"2/29/2024", L"1:05:09 PM", L"2/29/2024 1:05:09 PM"},
      {German(), L"29.02.2024", L"13:05:09", L"29.02.2024 13:05:09"},
      {Spelled(), L"Thursday, 29 February 2024 at noon-ish", L"13h05s09",
       L"Thursday, 29 February 2024 at noon-ish 13h05s09"},
  };
  for (const auto& Case : Cases) {
    EXPECT_EQ(FormatDate(LeapDay + Afternoon, Case.Formats), Case.Date);
    EXPECT_EQ(FormatTime(LeapDay + Afternoon, Case.Formats), Case.Time);
    EXPECT_EQ(FormatDateTime(LeapDay + Afternoon, Case.Formats), Case.DateTime);
    EXPECT_EQ(FormatDateTime(LeapDay, Case.Formats), Case.Date) << "midnight leaves the time out";
  }
}

TEST(DateText, ReadsBackEverythingItWrites) {
  const double Values[] = {LeapDay + Afternoon, LeapDay, Afternoon, 0.0, 2.75, -1.25, 36526.5, 2958465.999988426};
  for (const TRegionalFormats& Formats : {Japanese(), UnitedStates(), German(), Spelled()}) {
    for (double Value : Values) {
      const auto DateTime = ParseDateTime(FormatDateTime(Value, Formats), Formats);
      ASSERT_TRUE(DateTime.has_value()) << Value;
      EXPECT_NEAR(*DateTime, Value, 1.0 / 86400) << FormatDateTime(Value, Formats).size();
      EXPECT_EQ(ParseDateTime(FormatDate(Value, Formats), Formats), std::trunc(Value));
      const auto Time = ParseDateTime(FormatTime(Value, Formats), Formats);
      ASSERT_TRUE(Time.has_value());
      EXPECT_NEAR(*Time, std::fabs(Value - std::trunc(Value)), 1.0 / 86400);
    }
  }
}

TEST(DateText, ReadsNumbersOfDaysAndRefusesWhatNamesNoDay) {
  EXPECT_EQ(ParseDateTime(L"45351.5", Japanese()), 45351.5);
  EXPECT_EQ(ParseDateTime(L"45351,5", German()), 45351.5);
  EXPECT_EQ(ParseDateTime(L" 2024/2/9  ", Japanese()), 45331.0);
  // Two-digit years fall in 1930 to 2029.
  TRegionalFormats ShortYear = German();
  ShortYear.ShortDateFormat = L"d.M.yy";
  EXPECT_EQ(FormatDate(LeapDay, ShortYear), L"29.2.24");
  EXPECT_EQ(ParseDateTime(L"1.1.29", ShortYear), ParseDateTime(L"2029/01/01", Japanese()));
  EXPECT_EQ(ParseDateTime(L"1.1.30", ShortYear), ParseDateTime(L"1930/01/01", Japanese()));
  for (const wchar_t* Bad : {L"2023/02/29", L"2024/13/01", L"2024/01/01 24:00:00", L"12:60:00", L"2024/01/01x",
                             L"", L"yesterday", L"45351,5", L"1e9"})
    EXPECT_EQ(ParseDateTime(Bad, Japanese()), std::nullopt) << Bad;
  EXPECT_EQ(ParseDateTime(L"0:30:00 PM", UnitedStates()), std::nullopt);
}

TEST(DateText, RefusesToWriteValuesOutsideTheCalendar) {
  for (double Bad : {std::nan(""), 3e6, -7e5}) EXPECT_THROW(FormatDate(Bad, Japanese()), EConvertError);
}
