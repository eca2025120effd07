#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text form of binary data: two upper-case hexadecimal digits per byte,
// comma-separated, sixteen bytes to a line.
namespace tarnwick {

std::wstring FormatBinary(const std::vector<std::uint8_t>& Bytes);

// The bytes of Text. Line breaks and blanks are ignored, empty items skipped,
// each item read as a hexadecimal number whose low 8 bits make the byte.
// Raises EConvertError naming the first item that is no hexadecimal number.
std::vector<std::uint8_t> ParseBinary(std::wstring_view Text);

}  // namespace tarnwick
