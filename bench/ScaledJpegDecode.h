#pragma once

#include <cstdint>
#include <span>

// The floor of loading a JPEG for display: libjpeg-turbo's own decode at a
// DCT scale, every row read into one buffer and dropped.
namespace tarnwick::bench {

// Decodes Bytes, a JPEG the caller knows to be whole, at ScaleEighths / 8
// into the program's pixel layout; exits the process on a library error.
void DecodeScaledDiscarding(std::span<const std::uint8_t> Bytes, int ScaleEighths);

}  // namespace tarnwick::bench
