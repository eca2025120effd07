#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text forms of numbers in the settings file, and their strict readers.
// Readers return nothing when the text is not a number of that kind.
namespace tarnwick {

// A fixed-point amount: the value times 10000, four decimal places.
struct Currency {
  std::int64_t Units = 0;
  friend bool operator==(Currency, Currency) = default;
};

// Leading blanks, an optional sign, then decimal digits or a hexadecimal
// prefix ("$", "x", "X", "0x", "0X") with hexadecimal digits; nothing after,
// and the value must fit.
std::optional<std::int32_t> ParseInt32(std::wstring_view Text);
std::optional<std::int64_t> ParseInt64(std::wstring_view Text);

// General form with at most 15 significant digits; scientific ("1.5E20",
// "1E-6") when the integral part would need more than 15 digits or the
// magnitude is below 0.00001. NaN and infinities as "NAN", "INF", "-INF".
std::wstring FormatFloat(double Value, wchar_t DecimalSeparator);
// Optional blanks, sign, digits with at most one decimal separator, an
// optional exponent, optional blanks; or "NAN"/"INF" in any case.
std::optional<double> ParseFloat(std::wstring_view Text, wchar_t DecimalSeparator);

// Plain decimal with as many fractional digits as needed (at most four).
std::wstring FormatCurrency(Currency Value, wchar_t DecimalSeparator);
// Read like a float, exactly, and rounded half to even to four places.
std::optional<Currency> ParseCurrency(std::wstring_view Text, wchar_t DecimalSeparator);

// Booleans as "-1" and "0"; read as any number (non-zero is true) or the
// words True and False in any case.
std::wstring FormatBool(bool Value);
std::optional<bool> ParseBool(std::wstring_view Text, wchar_t DecimalSeparator);

// A whole number as the type mark of a value is read: any number (rounded
// half to even, fitting 32 bits), else the integer form, else the words
// True (1) and False (0).
std::optional<std::int32_t> ParseWholeNumber(std::wstring_view Text, wchar_t DecimalSeparator);

// True when Text equals Word, ASCII letters compared without case.
bool EqualsIgnoringCase(std::wstring_view Text, std::wstring_view Word);

}  // namespace tarnwick
