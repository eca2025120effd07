#include "settings/BinaryText.h"

#include "settings/NumberText.h"
#include "settings/SettingsErrors.h"

namespace tarnwick {
namespace {

std::wstring WithoutLineBreaksAndBlanks(std::wstring_view Text) {
  std::wstring Out;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == L'\r' && I + 1 < Text.size() && Text[I + 1] == L'\n') {
      ++I;
    } else if (Text[I] != L' ') {
      Out += Text[I];
    }
  }
  return Out;
}

std::wstring_view TrimControls(std::wstring_view Item) {
  while (!Item.empty() && Item.front() <= L' ') Item.remove_prefix(1);
  while (!Item.empty() && Item.back() <= L' ') Item.remove_suffix(1);
  return Item;
}

}  // namespace

std::wstring FormatBinary(const std::vector<std::uint8_t>& Bytes) {
  static constexpr wchar_t Hex[] = L"0123456789ABCDEF";
  std::wstring Text;
  Text.reserve(Bytes.size() * 3 + Bytes.size() / 8);
  for (std::size_t I = 0; I < Bytes.size(); ++I) {
    Text += Hex[Bytes[I] >> 4];
    Text += Hex[Bytes[I] & 0x0F];
    if (I + 1 == Bytes.size()) break;
    Text += L',';
    if (I % 16 == 15) Text += L"\r\n";
  }
  return Text;
}

std::vector<std::uint8_t> ParseBinary(std::wstring_view Text) {
  const std::wstring Items = WithoutLineBreaksAndBlanks(Text);
  std::vector<std::uint8_t> Bytes;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t Comma = Items.find(L',', Start);
    const std::wstring_view Item =
        TrimControls(std::wstring_view(Items).substr(Start, Comma == std::wstring::npos ? std::wstring::npos : Comma - Start));
    if (!Item.empty()) {
      const std::wstring Number = L"0x" + std::wstring(Item);
      const auto Value = ParseInt32(Number);
      if (!Value) throw EConvertError(NotAnIntegerMessage(Number));
      Bytes.push_back(static_cast<std::uint8_t>(*Value & 0xFF));
    }
    if (Comma == std::wstring::npos) return Bytes;
    Start = Comma + 1;
  }
}

}  // namespace tarnwick
