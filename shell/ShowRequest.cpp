#include "shell/ShowRequest.h"

#include <cstring>
#include <string_view>

namespace tarnwick {

namespace {

// The code unit at Index; the block comes from another process, unaligned.
char16_t CodeUnitAt(const void* Data, std::size_t Index) {
  char16_t Unit;
  std::memcpy(&Unit, static_cast<const unsigned char*>(Data) + Index * sizeof Unit, sizeof Unit);
  return Unit;
}

}  // namespace

bool IsShowRequest(const void* Data, std::size_t Size) {
  if (Data == nullptr) return false;
  const std::u16string_view Expected(ShowRequestText);
  const std::size_t Units = Size / sizeof(char16_t);
  std::size_t Index = 0;
  for (; Index < Units; ++Index) {
    const char16_t Unit = CodeUnitAt(Data, Index);
    if (Unit == u'\0') break;
    if (Index >= Expected.size() || Unit != Expected[Index]) return false;
  }
  return Index < Units && Index == Expected.size();
}

}  // namespace tarnwick
