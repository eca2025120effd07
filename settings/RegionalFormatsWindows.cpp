#include <windows.h>

#include "settings/RegionalFormats.h"

namespace tarnwick {
namespace {

// Replaces Target with the locale's item when the system can give it.
void ReadLocaleText(LCTYPE Item, std::wstring& Target) {
  wchar_t Buffer[128];
  const int Length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, Item, Buffer, 128);
  if (Length > 1) Target.assign(Buffer, Length - 1);
}

template <std::size_t N>
void ReadLocaleNames(LCTYPE First, std::array<std::wstring, N>& Names) {
  for (std::size_t I = 0; I < N; ++I) ReadLocaleText(First + static_cast<LCTYPE>(I), Names[I]);
}

}  // namespace

TRegionalFormats UserRegionalFormats() {
  TRegionalFormats Formats;
  std::wstring Decimal;
  ReadLocaleText(LOCALE_SDECIMAL, Decimal);
  if (Decimal.size() == 1) Formats.DecimalSeparator = Decimal[0];
  ReadLocaleText(LOCALE_SSHORTDATE, Formats.ShortDateFormat);
  ReadLocaleText(LOCALE_STIMEFORMAT, Formats.LongTimeFormat);
  ReadLocaleNames(LOCALE_SMONTHNAME1, Formats.LongMonthNames);
  ReadLocaleNames(LOCALE_SABBREVMONTHNAME1, Formats.ShortMonthNames);
  // The system lists days from Monday; ours start on Sunday.
  ReadLocaleText(LOCALE_SDAYNAME7, Formats.LongDayNames[0]);
  ReadLocaleText(LOCALE_SABBREVDAYNAME7, Formats.ShortDayNames[0]);
  for (std::size_t I = 1; I < 7; ++I) {
    ReadLocaleText(LOCALE_SDAYNAME1 + static_cast<LCTYPE>(I - 1), Formats.LongDayNames[I]);
    ReadLocaleText(LOCALE_SABBREVDAYNAME1 + static_cast<LCTYPE>(I - 1), Formats.ShortDayNames[I]);
  }
  ReadLocaleText(LOCALE_S1159, Formats.TimeAMString);
  ReadLocaleText(LOCALE_S2359, Formats.TimePMString);
  return Formats;
}

}  // namespace tarnwick
