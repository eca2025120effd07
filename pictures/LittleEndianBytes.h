#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Bounds-checked little-endian reads from a file held in memory.
namespace tarnwick {

// Raises EPictureError (the file ends too early) when Count bytes at Offset
// are not all inside Bytes.
void RequireBytes(std::span<const std::uint8_t> Bytes, std::size_t Offset, std::uint64_t Count);

std::uint16_t ReadUInt16(std::span<const std::uint8_t> Bytes, std::size_t Offset);
std::uint32_t ReadUInt32(std::span<const std::uint8_t> Bytes, std::size_t Offset);

}  // namespace tarnwick
