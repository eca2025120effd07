#include "settings/XmlName.h"

#include "base/Utf.h"

namespace tarnwick {
namespace {

struct TRange {
  char32_t First;
  char32_t Last;
};

constexpr TRange NameStartRanges[] = {
    {':', ':'},         {'A', 'Z'},         {'_', '_'},         {'a', 'z'},
    {0xC0, 0xD6},       {0xD8, 0xF6},       {0xF8, 0x2FF},      {0x370, 0x37D},
    {0x37F, 0x1FFF},    {0x200C, 0x200D},   {0x2070, 0x218F},   {0x2C00, 0x2FEF},
    {0x3001, 0xD7FF},   {0xF900, 0xFDCF},   {0xFDF0, 0xFFFD},   {0x10000, 0xEFFFF},
};

constexpr TRange ExtraNameRanges[] = {
    {'-', '-'}, {'.', '.'}, {'0', '9'}, {0xB7, 0xB7}, {0x300, 0x36F}, {0x203F, 0x2040},
};

template <std::size_t N>
bool InRanges(char32_t C, const TRange (&Ranges)[N]) {
  for (const TRange& R : Ranges)
    if (C >= R.First && C <= R.Last) return true;
  return false;
}

bool IsNameStart(char32_t C) { return InRanges(C, NameStartRanges); }
bool IsNameChar(char32_t C) { return IsNameStart(C) || InRanges(C, ExtraNameRanges); }

}  // namespace

bool IsValidXmlName(std::wstring_view Name) {
  if (Name.empty()) return false;
  std::size_t Pos = 0;
  if (!IsNameStart(NextCodePoint(Name, Pos))) return false;
  while (Pos < Name.size())
    if (!IsNameChar(NextCodePoint(Name, Pos))) return false;
  return true;
}

}  // namespace tarnwick
