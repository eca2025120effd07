#include "settings/DateText.h"

#include <cmath>
#include <vector>

#include "settings/NumberText.h"
#include "settings/SettingsErrors.h"

namespace tarnwick {
namespace {

constexpr long long MSecsPerDay = 86'400'000;
// 1899-12-30, day 0, counted from 1970-01-01.
constexpr long long DayZeroFromUnixEpoch = -25'569;
constexpr double MinDateTime = -693'593.0;   // 0001-01-01
constexpr double MaxDateTime = 2'958'466.0;  // 10000-01-01, excluded

struct TCivilDate {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
};

struct TTimeOfDay {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's method).
long long DaysFromCivil(TCivilDate Date) {
  const long long Y = Date.Year - (Date.Month <= 2 ? 1 : 0);
  const long long Era = (Y >= 0 ? Y : Y - 399) / 400;
  const long long YearOfEra = Y - Era * 400;
  const long long DayOfYear = (153 * (Date.Month + (Date.Month > 2 ? -3 : 9)) + 2) / 5 + Date.Day - 1;
  const long long DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
  return Era * 146097 + DayOfEra - 719468;
}

TCivilDate CivilFromDays(long long Days) {
  Days += 719468;
  const long long Era = (Days >= 0 ? Days : Days - 146096) / 146097;
  const long long DayOfEra = Days - Era * 146097;
  const long long YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const long long DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const long long MonthIndex = (5 * DayOfYear + 2) / 153;
  TCivilDate Date;
  Date.Day = static_cast<int>(DayOfYear - (153 * MonthIndex + 2) / 5 + 1);
  Date.Month = static_cast<int>(MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9);
  Date.Year = static_cast<int>(YearOfEra + Era * 400 + (Date.Month <= 2 ? 1 : 0));
  return Date;
}

int DaysInMonth(int Year, int Month) {
  static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool Leap = (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
  return Month == 2 && Leap ? 29 : Days[Month - 1];
}

// One item of a date or time picture: a run of one field letter, or literal text.
struct TPictureToken {
  wchar_t Letter = 0;
  int Count = 0;
  std::wstring Literal;
};

bool IsFieldLetter(wchar_t C) { return std::wstring_view(L"dMygHhmst").find(C) != std::wstring_view::npos; }

std::vector<TPictureToken> Tokenize(std::wstring_view Picture) {
  std::vector<TPictureToken> Tokens;
  const auto AddLiteral = [&](wchar_t C) {
    if (Tokens.empty() || Tokens.back().Letter != 0) Tokens.push_back({});
    Tokens.back().Literal += C;
  };
  for (std::size_t I = 0; I < Picture.size();) {
    const wchar_t C = Picture[I];
    if (IsFieldLetter(C)) {
      std::size_t End = I;
      while (End < Picture.size() && Picture[End] == C) ++End;
      Tokens.push_back({C, static_cast<int>(End - I), {}});
      I = End;
    } else if (C == L'\'') {
      ++I;
      if (I < Picture.size() && Picture[I] == L'\'') AddLiteral(L'\''), ++I;
      while (I < Picture.size() && Picture[I] != L'\'') AddLiteral(Picture[I++]);
      if (I < Picture.size()) ++I;
    } else {
      AddLiteral(C);
      ++I;
    }
  }
  return Tokens;
}

struct TDateTimeFields {
  TCivilDate Date;
  TTimeOfDay Time;
  int DayOfWeek = 6;  // Sunday is 0; day 0 was a Saturday
  int Meridiem = -1;  // -1 none, 0 before noon, 1 after
};

std::wstring Padded(int Value, int Width) {
  std::wstring Text = std::to_wstring(Value);
  if (static_cast<int>(Text.size()) < Width) Text.insert(0, static_cast<std::size_t>(Width) - Text.size(), L'0');
  return Text;
}

std::wstring FormatField(const TPictureToken& Token, const TDateTimeFields& Fields, const TRegionalFormats& Formats) {
  const int Count = Token.Count;
  switch (Token.Letter) {
    case L'd':
      if (Count >= 4) return Formats.LongDayNames[Fields.DayOfWeek];
      if (Count == 3) return Formats.ShortDayNames[Fields.DayOfWeek];
      return Padded(Fields.Date.Day, Count);
    case L'M':
      if (Count >= 4) return Formats.LongMonthNames[Fields.Date.Month - 1];
      if (Count == 3) return Formats.ShortMonthNames[Fields.Date.Month - 1];
      return Padded(Fields.Date.Month, Count);
    case L'y':
      return Count <= 2 ? Padded(Fields.Date.Year % 100, Count) : Padded(Fields.Date.Year, 4);
    case L'h':
      return Padded(Fields.Time.Hour % 12 == 0 ? 12 : Fields.Time.Hour % 12, std::min(Count, 2));
    case L'H':
      return Padded(Fields.Time.Hour, std::min(Count, 2));
    case L'm':
      return Padded(Fields.Time.Minute, std::min(Count, 2));
    case L's':
      return Padded(Fields.Time.Second, std::min(Count, 2));
    case L't': {
      const std::wstring& Designator = Fields.Time.Hour < 12 ? Formats.TimeAMString : Formats.TimePMString;
      return Count == 1 ? Designator.substr(0, 1) : Designator;
    }
    default:  // 'g': the era, which the Gregorian calendar leaves unwritten
      return {};
  }
}

std::wstring FormatPicture(std::wstring_view Picture, const TDateTimeFields& Fields, const TRegionalFormats& Formats) {
  std::wstring Text;
  for (const TPictureToken& Token : Tokenize(Picture))
    Text += Token.Letter ? FormatField(Token, Fields, Formats) : Token.Literal;
  return Text;
}

TDateTimeFields SplitDateTime(TDateTime Value) {
  if (!(Value >= MinDateTime && Value < MaxDateTime)) throw EConvertError(DateTimeOutOfRangeMessage(Value));
  const double Days = std::trunc(Value);
  long long Milliseconds = std::llround(std::fabs(Value - Days) * MSecsPerDay);
  if (Milliseconds >= MSecsPerDay) Milliseconds = MSecsPerDay - 1;
  const auto Serial = static_cast<long long>(Days);
  TDateTimeFields Fields;
  Fields.Date = CivilFromDays(Serial + DayZeroFromUnixEpoch);
  Fields.DayOfWeek = static_cast<int>(((Serial + 6) % 7 + 7) % 7);
  const auto Seconds = static_cast<int>(Milliseconds / 1000);
  Fields.Time = {Seconds / 3600, Seconds / 60 % 60, Seconds % 60};
  return Fields;
}

// Reading a picture back.
class TPictureReader {
 public:
  TPictureReader(std::wstring_view Text, const TRegionalFormats& Formats) : FText(Text), FFormats(Formats) {}

  std::optional<TDateTimeFields> Read(const std::vector<TPictureToken>& Tokens) {
    TDateTimeFields Fields;
    SkipBlanks();
    for (const TPictureToken& Token : Tokens) {
      if (!(Token.Letter ? ReadField(Token, Fields) : ReadLiteral(Token.Literal))) return std::nullopt;
    }
    SkipBlanks();
    if (FPos != FText.size()) return std::nullopt;
    return Fields;
  }

 private:
  void SkipBlanks() {
    while (FPos < FText.size() && FText[FPos] == L' ') ++FPos;
  }

  bool ReadLiteral(std::wstring_view Literal) {
    for (wchar_t C : Literal) {
      if (C == L' ') {
        SkipBlanks();
      } else if (FPos < FText.size() && FText[FPos] == C) {
        ++FPos;
      } else {
        return false;
      }
    }
    return true;
  }

  std::optional<int> ReadNumber(std::size_t MaxDigits) {
    std::size_t Length = 0;
    int Value = 0;
    while (Length < MaxDigits && FPos < FText.size() && FText[FPos] >= L'0' && FText[FPos] <= L'9') {
      Value = Value * 10 + (FText[FPos++] - L'0');
      ++Length;
    }
    if (Length == 0) return std::nullopt;
    return Value;
  }

  // The index of the longest name in either list found at the reading position.
  template <std::size_t N>
  std::optional<int> ReadName(const std::array<std::wstring, N>& Long, const std::array<std::wstring, N>& Short) {
    std::optional<int> Found;
    std::size_t FoundLength = 0;
    for (const auto* Names : {&Long, &Short}) {
      for (std::size_t I = 0; I < N; ++I) {
        const std::wstring& Name = (*Names)[I];
        if (Name.size() > FoundLength && Matches(Name)) Found = static_cast<int>(I), FoundLength = Name.size();
      }
    }
    FPos += FoundLength;
    return Found;
  }

  bool Matches(std::wstring_view Word) const {
    return !Word.empty() && FText.size() - FPos >= Word.size() && EqualsIgnoringCase(FText.substr(FPos, Word.size()), Word);
  }

  bool ReadMeridiem(int Count, TDateTimeFields& Fields) {
    for (int Index : {0, 1}) {
      const std::wstring& Designator = Index == 0 ? FFormats.TimeAMString : FFormats.TimePMString;
      const std::wstring_view Word = Count == 1 ? std::wstring_view(Designator).substr(0, 1) : Designator;
      if (Matches(Word)) {
        FPos += Word.size();
        Fields.Meridiem = Index;
        return true;
      }
    }
    return FFormats.TimeAMString.empty() && FFormats.TimePMString.empty();
  }

  static int YearFromTwoDigits(int Year) { return Year < 30 ? 2000 + Year : 1900 + Year; }

  bool ReadField(const TPictureToken& Token, TDateTimeFields& Fields) {
    std::optional<int> Value;
    switch (Token.Letter) {
      case L'd':
        if (Token.Count >= 3) return ReadName(FFormats.LongDayNames, FFormats.ShortDayNames).has_value();
        return Assign(ReadNumber(2), Fields.Date.Day);
      case L'M':
        Value = Token.Count >= 3 ? ReadName(FFormats.LongMonthNames, FFormats.ShortMonthNames) : ReadNumber(2);
        if (Value && Token.Count >= 3) ++*Value;
        return Assign(Value, Fields.Date.Month);
      case L'y': {
        const std::size_t Start = FPos;
        if (!Assign(ReadNumber(Token.Count <= 2 ? 2 : 4), Fields.Date.Year)) return false;
        if (FPos - Start <= 2) Fields.Date.Year = YearFromTwoDigits(Fields.Date.Year);
        return true;
      }
      case L'h':
      case L'H':
        return Assign(ReadNumber(2), Fields.Time.Hour);
      case L'm':
        return Assign(ReadNumber(2), Fields.Time.Minute);
      case L's':
        return Assign(ReadNumber(2), Fields.Time.Second);
      case L't':
        return ReadMeridiem(Token.Count, Fields);
      default:
        return true;
    }
  }

  static bool Assign(std::optional<int> Value, int& Target) {
    if (Value) Target = *Value;
    return Value.has_value();
  }

  std::wstring_view FText;
  const TRegionalFormats& FFormats;
  std::size_t FPos = 0;
};

std::optional<TDateTime> ToDateTime(TDateTimeFields Fields) {
  const TCivilDate& Date = Fields.Date;
  TTimeOfDay& Time = Fields.Time;
  if (Fields.Meridiem >= 0) {
    if (Time.Hour < 1 || Time.Hour > 12) return std::nullopt;
    Time.Hour = Time.Hour % 12 + (Fields.Meridiem == 1 ? 12 : 0);
  }
  if (Date.Year < 1 || Date.Year > 9999 || Date.Month < 1 || Date.Month > 12 || Date.Day < 1 ||
      Date.Day > DaysInMonth(Date.Year, Date.Month) || Time.Hour > 23 || Time.Minute > 59 || Time.Second > 59)
    return std::nullopt;
  const auto Serial = static_cast<double>(DaysFromCivil(Date) - DayZeroFromUnixEpoch);
  const double Fraction = (Time.Hour * 3600 + Time.Minute * 60 + Time.Second) / 86400.0;
  return Serial >= 0 ? Serial + Fraction : Serial - Fraction;
}

std::vector<TPictureToken> Joined(std::vector<TPictureToken> First, const std::vector<TPictureToken>& Second) {
  First.push_back({0, 0, L" "});
  First.insert(First.end(), Second.begin(), Second.end());
  return First;
}

}  // namespace

std::wstring FormatDate(TDateTime Value, const TRegionalFormats& Formats) {
  return FormatPicture(Formats.ShortDateFormat, SplitDateTime(Value), Formats);
}

std::wstring FormatTime(TDateTime Value, const TRegionalFormats& Formats) {
  return FormatPicture(Formats.LongTimeFormat, SplitDateTime(Value), Formats);
}

std::wstring FormatDateTime(TDateTime Value, const TRegionalFormats& Formats) {
  const TDateTimeFields Fields = SplitDateTime(Value);
  std::wstring Text = FormatPicture(Formats.ShortDateFormat, Fields, Formats);
  if (Value != std::trunc(Value)) Text += L' ' + FormatPicture(Formats.LongTimeFormat, Fields, Formats);
  return Text;
}

std::optional<TDateTime> ParseDateTime(std::wstring_view Text, const TRegionalFormats& Formats) {
  const auto DateTokens = Tokenize(Formats.ShortDateFormat);
  const auto TimeTokens = Tokenize(Formats.LongTimeFormat);
  for (const auto& Tokens : {Joined(DateTokens, TimeTokens), DateTokens, TimeTokens}) {
    if (const auto Fields = TPictureReader(Text, Formats).Read(Tokens))
      if (const auto Value = ToDateTime(*Fields)) return Value;
  }
  const auto Days = ParseFloat(Text, Formats.DecimalSeparator);
  if (Days && *Days >= MinDateTime && *Days < MaxDateTime) return Days;
  return std::nullopt;
}

}  // namespace tarnwick
