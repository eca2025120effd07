// Feeds arbitrary bytes to the compression of the bytes the program keeps:
// compressed and expanded again they must come back the same, and taken as
// packed bytes they may expand or not, but never reach outside either span.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "pictures/ByteCompression.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::span<const std::uint8_t> Bytes(Data, Size);
  std::vector<std::uint8_t> Out(Size);
  if (!ExpandBytes(CompressBytes(Bytes), Out) || !std::equal(Out.begin(), Out.end(), Bytes.begin())) std::abort();
  // The first two bytes give the size expanded into, in a vector of its own:
  // the sanitizer sees a step past either end.
  if (Size < 2) return 0;
  std::vector<std::uint8_t> Expanded(Data[0] | std::size_t{Data[1]} << 8);
  const std::vector<std::uint8_t> Packed(Data + 2, Data + Size);
  ExpandBytes(Packed, Expanded);
  return 0;
}
