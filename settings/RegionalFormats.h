#pragma once

#include <array>
#include <string>

namespace tarnwick {

// The user's regional formats that decide how numbers, dates and times are
// written as text. Date and time forms use the Windows picture notation
// (d, dd, ddd, dddd, M, MM, MMM, MMMM, y, yy, yyyy, g, h, hh, H, HH, m, mm,
// s, ss, t, tt and 'quoted text').
struct TRegionalFormats {
  wchar_t DecimalSeparator = L'.';
  std::wstring ShortDateFormat = L"yyyy/MM/dd";
  std::wstring LongTimeFormat = L"H:mm:ss";
  std::array<std::wstring, 12> LongMonthNames{L"January", L"February", L"March",     L"April",
                                              L"May",     L"June",     L"July",      L"August",
                                              L"September", L"October", L"November", L"December"};
  std::array<std::wstring, 12> ShortMonthNames{L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                               L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  // Sunday first.
  std::array<std::wstring, 7> LongDayNames{L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                           L"Thursday", L"Friday", L"Saturday"};
  std::array<std::wstring, 7> ShortDayNames{L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  std::wstring TimeAMString = L"AM";
  std::wstring TimePMString = L"PM";
};

// The formats of the user's locale as they are now. On Windows they are read
// from the system at each call, so a change the user makes is seen by the
// next settings exchange; elsewhere, and for any item the system cannot
// give, the defaults above.
TRegionalFormats UserRegionalFormats();

}  // namespace tarnwick
