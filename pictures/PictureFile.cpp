#include "pictures/PictureFile.h"

#include <fstream>

#include "pictures/PictureErrors.h"
#include "base/Utf.h"

namespace tarnwick {

std::filesystem::path NativePath(const std::wstring& FileName) {
#ifdef _WIN32
  return std::filesystem::path(FileName);
#else
  return std::filesystem::path(ToUtf8(FileName));
#endif
}

std::vector<std::uint8_t> ReadPictureFile(const std::wstring& FileName) {
  const std::filesystem::path Path = NativePath(FileName);
  // Fails for a folder too, which opens like a file on some systems.
  std::error_code Failure;
  const std::uintmax_t Size = std::filesystem::file_size(Path, Failure);
  if (Failure) throw EPictureError("ファイルを開けません");
  // Said plainly here rather than in each library's words.
  if (Size == 0) throw EPictureError("ファイルが空です");
  if (Size > MaxPictureFileBytes)
    throw EPictureError("ファイルが大きすぎます (上限 " + std::to_string(MaxPictureFileBytes >> 20) + " MiB)");
  std::ifstream In(Path, std::ios::binary);
  if (!In) throw EPictureError("ファイルを開けません");
  std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Size));
  const auto Length = static_cast<std::streamsize>(Size);
  if (!In.read(reinterpret_cast<char*>(Bytes.data()), Length) || In.gcount() != Length)
    throw EPictureError("ファイルを読み取れません");
  return Bytes;
}

}  // namespace tarnwick
