#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/RegionalFormats.h"

// Text forms of dates and times in the user's regional formats, and the one
// reader that takes them all back.
namespace tarnwick {

// Days since 30 December 1899; the fraction is the time of day. Before that
// day the value is negative and the fraction still counts forward from
// midnight (-1.25 is 29 December 1899, 06:00).
using TDateTime = double;

// The short date form; raises EConvertError for a value outside the years
// 1 to 9999 or no number at all.
std::wstring FormatDate(TDateTime Value, const TRegionalFormats& Formats);
// The long time form; raises as FormatDate.
std::wstring FormatTime(TDateTime Value, const TRegionalFormats& Formats);
// The short date form, a blank and the long time form; the time is left out
// when the value is exactly midnight. Raises as FormatDate.
std::wstring FormatDateTime(TDateTime Value, const TRegionalFormats& Formats);

// Reads a date and time, a date alone or a time alone in the given forms
// (blanks between parts may vary), or else a number of days. Nothing when
// the text is none of these or names no real day.
std::optional<TDateTime> ParseDateTime(std::wstring_view Text, const TRegionalFormats& Formats);

}  // namespace tarnwick
