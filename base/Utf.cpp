#include "base/Utf.h"

namespace tarnwick {
namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsSurrogate(char32_t C) { return C >= 0xD800 && C <= 0xDFFF; }

void AppendUtf8(std::string& Out, char32_t C) {
  if (C > 0x10FFFF || IsSurrogate(C)) C = ReplacementCharacter;
  if (C < 0x80) {
    Out += static_cast<char>(C);
  } else if (C < 0x800) {
    Out += static_cast<char>(0xC0 | (C >> 6));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Out += static_cast<char>(0xE0 | (C >> 12));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (C >> 18));
    Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  }
}

void AppendWide(std::wstring& Out, char32_t C) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (C >= 0x10000) {
      C -= 0x10000;
      Out += static_cast<wchar_t>(0xD800 + (C >> 10));
      Out += static_cast<wchar_t>(0xDC00 + (C & 0x3FF));
      return;
    }
  }
  Out += static_cast<wchar_t>(C);
}

// Reads one code point from UTF-8 at Text[Pos], advancing Pos past it.
char32_t DecodeUtf8(std::string_view Text, std::size_t& Pos) {
  const auto Lead = static_cast<unsigned char>(Text[Pos++]);
  if (Lead < 0x80) return Lead;
  int Extra = 0;
  char32_t C = 0;
  char32_t Minimum = 0;
  if ((Lead & 0xE0) == 0xC0) {
    Extra = 1, C = Lead & 0x1F, Minimum = 0x80;
  } else if ((Lead & 0xF0) == 0xE0) {
    Extra = 2, C = Lead & 0x0F, Minimum = 0x800;
  } else if ((Lead & 0xF8) == 0xF0) {
    Extra = 3, C = Lead & 0x07, Minimum = 0x10000;
  } else {
    return ReplacementCharacter;
  }
  for (int I = 0; I < Extra; ++I) {
    if (Pos >= Text.size()) return ReplacementCharacter;
    const auto Next = static_cast<unsigned char>(Text[Pos]);
    if ((Next & 0xC0) != 0x80) return ReplacementCharacter;
    C = (C << 6) | (Next & 0x3F);
    ++Pos;
  }
  if (C < Minimum || C > 0x10FFFF || IsSurrogate(C)) return ReplacementCharacter;
  return C;
}

// Reads one code point from UTF-16 or UTF-32 units, joining surrogate pairs.
template <typename Unit>
char32_t DecodeUnits(std::basic_string_view<Unit> Text, std::size_t& Pos) {
  char32_t C = static_cast<char32_t>(Text[Pos++]);
  if constexpr (sizeof(Unit) == 2) {
    if (C >= 0xD800 && C <= 0xDBFF && Pos < Text.size()) {
      const auto Low = static_cast<char32_t>(Text[Pos]);
      if (Low >= 0xDC00 && Low <= 0xDFFF) {
        ++Pos;
        return 0x10000 + ((C - 0xD800) << 10) + (Low - 0xDC00);
      }
    }
  }
  return C;
}

template <typename Unit>
std::string UnitsToUtf8(std::basic_string_view<Unit> Text) {
  std::string Out;
  Out.reserve(Text.size());
  for (std::size_t Pos = 0; Pos < Text.size();) AppendUtf8(Out, DecodeUnits(Text, Pos));
  return Out;
}

}  // namespace

std::string ToUtf8(std::wstring_view Text) { return UnitsToUtf8(Text); }

char32_t NextCodePoint(std::wstring_view Text, std::size_t& Pos) { return DecodeUnits(Text, Pos); }

std::string Utf16ToUtf8(std::u16string_view Text) { return UnitsToUtf8(Text); }

std::string XmlFileText(std::string_view Bytes) {
  const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(Bytes[I]); };
  if (Bytes.size() >= 3 && Byte(0) == 0xEF && Byte(1) == 0xBB && Byte(2) == 0xBF)
    return std::string(Bytes.substr(3));
  if (Bytes.size() >= 2 && ((Byte(0) == 0xFF && Byte(1) == 0xFE) || (Byte(0) == 0xFE && Byte(1) == 0xFF))) {
    const bool BigEndian = Byte(0) == 0xFE;
    std::u16string Units;
    for (std::size_t I = 2; I + 1 < Bytes.size(); I += 2)
      Units += static_cast<char16_t>(BigEndian ? (Byte(I) << 8) | Byte(I + 1) : (Byte(I + 1) << 8) | Byte(I));
    return Utf16ToUtf8(Units);
  }
  return std::string(Bytes);
}

bool IsUtf8SequenceAt(std::string_view Text, std::size_t Pos) {
  if (Pos >= Text.size()) return false;
  std::size_t End = Pos;
  // The decoder gives U+FFFD for a broken sequence; only one spelling of it is real.
  return DecodeUtf8(Text, End) != ReplacementCharacter || Text.substr(Pos, 3) == "\xEF\xBF\xBD";
}

std::wstring FromUtf8(std::string_view Text) {
  std::wstring Out;
  Out.reserve(Text.size());
  for (std::size_t Pos = 0; Pos < Text.size();) AppendWide(Out, DecodeUtf8(Text, Pos));
  return Out;
}

}  // namespace tarnwick
