#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A fast compression for bytes the program keeps of its own in memory: runs
// of literal bytes and copies of bytes that came shortly before, without
// entropy coding, so that expanding them costs little more than copying.
namespace tarnwick {

// Bytes compressed; never more than Bytes.size() / 255 + 16 bytes longer.
std::vector<std::uint8_t> CompressBytes(std::span<const std::uint8_t> Bytes);

// Expands Packed, made by CompressBytes, into Out, which must have the size
// of the bytes compressed. False when Packed is not such a compression
// (damaged, or of another size); Out's content is undefined then. Never
// reads or writes outside either.
bool ExpandBytes(std::span<const std::uint8_t> Packed, std::span<std::uint8_t> Out);

}  // namespace tarnwick
