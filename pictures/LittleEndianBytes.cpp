#include "pictures/LittleEndianBytes.h"

#include "pictures/PictureErrors.h"

namespace tarnwick {

void RequireBytes(std::span<const std::uint8_t> Bytes, std::size_t Offset, std::uint64_t Count) {
  if (Offset > Bytes.size() || Count > Bytes.size() - Offset)
    throw EPictureError(DamagedReason("途中で切れています"));
}

std::uint16_t ReadUInt16(std::span<const std::uint8_t> Bytes, std::size_t Offset) {
  RequireBytes(Bytes, Offset, 2);
  return static_cast<std::uint16_t>(Bytes[Offset] | Bytes[Offset + 1] << 8);
}

std::uint32_t ReadUInt32(std::span<const std::uint8_t> Bytes, std::size_t Offset) {
  RequireBytes(Bytes, Offset, 4);
  return static_cast<std::uint32_t>(Bytes[Offset]) | static_cast<std::uint32_t>(Bytes[Offset + 1]) << 8 |
         static_cast<std::uint32_t>(Bytes[Offset + 2]) << 16 | static_cast<std::uint32_t>(Bytes[Offset + 3]) << 24;
}

}  // namespace tarnwick
