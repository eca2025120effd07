#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Reading a picture file whole, with a cap on its size.
namespace tarnwick {

// Larger files are refused before they are read: no picture worth showing in
// a popup comes near this.
inline constexpr std::size_t MaxPictureFileBytes = std::size_t{256} << 20;

// FileName as the platform's file functions take it: UTF-16 on Windows,
// UTF-8 elsewhere.
std::filesystem::path NativePath(const std::wstring& FileName);

// The file's bytes. Raises EPictureError, with the reason only, when the file
// cannot be opened or read or is larger than MaxPictureFileBytes.
std::vector<std::uint8_t> ReadPictureFile(const std::wstring& FileName);

}  // namespace tarnwick
