#include "settings/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tarnwick {
namespace {

wchar_t LowerAscii(wchar_t C) { return (C >= L'A' && C <= L'Z') ? C + (L'a' - L'A') : C; }

bool IsDigit(wchar_t C) { return C >= L'0' && C <= L'9'; }

int HexDigitValue(wchar_t C) {
  if (IsDigit(C)) return C - L'0';
  C = LowerAscii(C);
  return (C >= L'a' && C <= L'f') ? C - L'a' + 10 : -1;
}

std::wstring_view TrimBlanks(std::wstring_view Text) {
  while (!Text.empty() && Text.front() == L' ') Text.remove_prefix(1);
  while (!Text.empty() && Text.back() == L' ') Text.remove_suffix(1);
  return Text;
}

template <typename Int>
std::optional<Int> ParseInteger(std::wstring_view Text) {
  while (!Text.empty() && Text.front() == L' ') Text.remove_prefix(1);
  bool Negative = false;
  if (!Text.empty() && (Text.front() == L'+' || Text.front() == L'-')) {
    Negative = Text.front() == L'-';
    Text.remove_prefix(1);
  }
  unsigned Base = 10;
  if (!Text.empty() && (Text.front() == L'$' || Text.front() == L'x' || Text.front() == L'X')) {
    Base = 16, Text.remove_prefix(1);
  } else if (Text.size() >= 2 && Text[0] == L'0' && (Text[1] == L'x' || Text[1] == L'X')) {
    Base = 16, Text.remove_prefix(2);
  }
  if (Text.empty()) return std::nullopt;
  using Unsigned = std::make_unsigned_t<Int>;
  const Unsigned Limit = static_cast<Unsigned>(std::numeric_limits<Int>::max()) + (Negative ? 1u : 0u);
  Unsigned Magnitude = 0;
  for (wchar_t C : Text) {
    const int Digit = HexDigitValue(C);
    if (Digit < 0 || static_cast<unsigned>(Digit) >= Base) return std::nullopt;
    if (Magnitude > (Limit - static_cast<Unsigned>(Digit)) / Base) return std::nullopt;
    Magnitude = Magnitude * Base + static_cast<Unsigned>(Digit);
  }
  return Negative ? static_cast<Int>(Unsigned{0} - Magnitude) : static_cast<Int>(Magnitude);
}

// A number split into its parts: Digits (no leading zeros) times ten to the
// power Exponent, with a sign.
struct TDecimalNumber {
  bool Negative = false;
  std::string Digits;
  long long Exponent = 0;
};

// Checks the float syntax and splits the number. Infinite and NaN words are
// not numbers here.
std::optional<TDecimalNumber> SplitDecimal(std::wstring_view Text, wchar_t DecimalSeparator) {
  Text = TrimBlanks(Text);
  TDecimalNumber Number;
  std::size_t Pos = 0;
  if (Pos < Text.size() && (Text[Pos] == L'+' || Text[Pos] == L'-')) Number.Negative = Text[Pos++] == L'-';
  bool SawDigit = false;
  bool SawSeparator = false;
  for (; Pos < Text.size(); ++Pos) {
    const wchar_t C = Text[Pos];
    if (IsDigit(C)) {
      SawDigit = true;
      if (!Number.Digits.empty() || C != L'0') Number.Digits += static_cast<char>(C);
      if (SawSeparator) --Number.Exponent;
    } else if (C == DecimalSeparator && !SawSeparator) {
      SawSeparator = true;
    } else {
      break;
    }
  }
  if (!SawDigit) return std::nullopt;
  if (Pos < Text.size() && LowerAscii(Text[Pos]) == L'e') {
    ++Pos;
    bool NegativeExponent = false;
    if (Pos < Text.size() && (Text[Pos] == L'+' || Text[Pos] == L'-')) NegativeExponent = Text[Pos++] == L'-';
    if (Pos >= Text.size()) return std::nullopt;
    long long Exponent = 0;
    for (; Pos < Text.size() && IsDigit(Text[Pos]); ++Pos)
      if (Exponent < 100000) Exponent = Exponent * 10 + (Text[Pos] - L'0');
    Number.Exponent += NegativeExponent ? -Exponent : Exponent;
  }
  if (Pos != Text.size()) return std::nullopt;
  return Number;
}

std::optional<double> ParseSpecialFloat(std::wstring_view Text) {
  Text = TrimBlanks(Text);
  if (EqualsIgnoringCase(Text, L"NAN")) return std::numeric_limits<double>::quiet_NaN();
  if (EqualsIgnoringCase(Text, L"INF") || EqualsIgnoringCase(Text, L"+INF")) return std::numeric_limits<double>::infinity();
  if (EqualsIgnoringCase(Text, L"-INF")) return -std::numeric_limits<double>::infinity();
  return std::nullopt;
}

std::wstring Widen(const std::string& Ascii) { return std::wstring(Ascii.begin(), Ascii.end()); }

}  // namespace

bool EqualsIgnoringCase(std::wstring_view Text, std::wstring_view Word) {
  if (Text.size() != Word.size()) return false;
  for (std::size_t I = 0; I < Text.size(); ++I)
    if (LowerAscii(Text[I]) != LowerAscii(Word[I])) return false;
  return true;
}

std::optional<std::int32_t> ParseInt32(std::wstring_view Text) { return ParseInteger<std::int32_t>(Text); }
std::optional<std::int64_t> ParseInt64(std::wstring_view Text) { return ParseInteger<std::int64_t>(Text); }

std::wstring FormatFloat(double Value, wchar_t DecimalSeparator) {
  if (std::isnan(Value)) return L"NAN";
  if (std::isinf(Value)) return Value < 0 ? L"-INF" : L"INF";
  if (Value == 0) return L"0";
  // "%.14e" gives the 15 significant digits and the decimal exponent.
  char Buffer[40];
  std::snprintf(Buffer, sizeof Buffer, "%.14e", std::fabs(Value));
  std::wstring Digits = Widen(std::string(1, Buffer[0]) + std::string(Buffer + 2, 14));
  const int Exponent = std::atoi(Buffer + 17);
  while (Digits.size() > 1 && Digits.back() == L'0') Digits.pop_back();
  std::wstring Text = Value < 0 ? L"-" : L"";
  if (Exponent >= 15 || Exponent < -5) {
    Text += Digits[0];
    if (Digits.size() > 1) Text += DecimalSeparator + Digits.substr(1);
    return Text + L"E" + std::to_wstring(Exponent);
  }
  if (Exponent < 0) {
    return Text + L'0' + DecimalSeparator + std::wstring(static_cast<std::size_t>(-Exponent - 1), L'0') + Digits;
  }
  const auto IntegralDigits = static_cast<std::size_t>(Exponent) + 1;
  if (Digits.size() <= IntegralDigits) return Text + Digits + std::wstring(IntegralDigits - Digits.size(), L'0');
  return Text + Digits.substr(0, IntegralDigits) + DecimalSeparator + Digits.substr(IntegralDigits);
}

std::optional<double> ParseFloat(std::wstring_view Text, wchar_t DecimalSeparator) {
  if (const auto Special = ParseSpecialFloat(Text)) return Special;
  const auto Number = SplitDecimal(Text, DecimalSeparator);
  if (!Number) return std::nullopt;
  if (Number->Digits.empty()) return Number->Negative ? -0.0 : 0.0;
  const std::string Canonical = Number->Digits + "e" + std::to_string(Number->Exponent);
  double Value = 0;
  const auto [End, Error] = std::from_chars(Canonical.data(), Canonical.data() + Canonical.size(), Value);
  if (Error == std::errc::result_out_of_range) {
    // Too small rounds to zero; too large is no float we can hold.
    if (Number->Exponent < 0) return Number->Negative ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (Error != std::errc() || End != Canonical.data() + Canonical.size()) return std::nullopt;
  return Number->Negative ? -Value : Value;
}

std::wstring FormatCurrency(Currency Value, wchar_t DecimalSeparator) {
  const bool Negative = Value.Units < 0;
  const std::uint64_t Magnitude =
      Negative ? std::uint64_t{0} - static_cast<std::uint64_t>(Value.Units) : static_cast<std::uint64_t>(Value.Units);
  std::wstring Text = (Negative ? L"-" : L"") + std::to_wstring(Magnitude / 10000);
  std::wstring Fraction = std::to_wstring(Magnitude % 10000);
  Fraction.insert(0, 4 - Fraction.size(), L'0');
  while (!Fraction.empty() && Fraction.back() == L'0') Fraction.pop_back();
  if (!Fraction.empty()) Text += DecimalSeparator + Fraction;
  return Text;
}

std::optional<Currency> ParseCurrency(std::wstring_view Text, wchar_t DecimalSeparator) {
  const auto Number = SplitDecimal(Text, DecimalSeparator);
  if (!Number) return std::nullopt;
  const std::string& Digits = Number->Digits;
  // Units are the digits that stand left of the fourth decimal place.
  const long long Kept = static_cast<long long>(Digits.size()) + Number->Exponent + 4;
  if (Kept > 19) return std::nullopt;
  std::uint64_t Units = 0;
  for (long long I = 0; I < Kept; ++I)
    Units = Units * 10 + static_cast<std::uint64_t>(I < static_cast<long long>(Digits.size()) ? Digits[static_cast<std::size_t>(I)] - '0' : 0);
  // Round on the first digit dropped; when even that lies beyond the digits
  // (Kept < 0) the amount is below half a unit and rounds to zero.
  if (Kept >= 0 && Kept < static_cast<long long>(Digits.size())) {
    const char Next = Digits[static_cast<std::size_t>(Kept)];
    const bool MoreAfter = Digits.find_first_not_of('0', static_cast<std::size_t>(Kept) + 1) != std::string::npos;
    if (Next > '5' || (Next == '5' && (MoreAfter || Units % 2 == 1))) ++Units;
  }
  const std::uint64_t Limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (Number->Negative ? 1u : 0u);
  if (Units > Limit) return std::nullopt;
  return Currency{Number->Negative ? static_cast<std::int64_t>(std::uint64_t{0} - Units) : static_cast<std::int64_t>(Units)};
}

std::wstring FormatBool(bool Value) { return Value ? L"-1" : L"0"; }

std::optional<bool> ParseBool(std::wstring_view Text, wchar_t DecimalSeparator) {
  if (const auto Number = ParseFloat(Text, DecimalSeparator)) return *Number != 0;
  if (EqualsIgnoringCase(Text, L"True")) return true;
  if (EqualsIgnoringCase(Text, L"False")) return false;
  return std::nullopt;
}

std::optional<std::int32_t> ParseWholeNumber(std::wstring_view Text, wchar_t DecimalSeparator) {
  if (const auto Number = ParseFloat(Text, DecimalSeparator)) {
    const double Rounded = std::nearbyint(*Number);
    if (Rounded >= std::numeric_limits<std::int32_t>::min() && Rounded <= std::numeric_limits<std::int32_t>::max())
      return static_cast<std::int32_t>(Rounded);
  }
  if (const auto Integer = ParseInt32(Text)) return Integer;
  if (EqualsIgnoringCase(Text, L"True")) return 1;
  if (EqualsIgnoringCase(Text, L"False")) return 0;
  return std::nullopt;
}

}  // namespace tarnwick
