#include "PictureFile.h"

#include <fstream>

#include "PictureErrors.h"
#include "Utf.h"

namespace tarnwick {

std::filesystem::path NativePath(const std::wstring& FileName) {
#ifdef _WIN32
  return std::filesystem::path(FileName);
#else
  return std::filesystem::path(ToUtf8(FileName));
#endif
}

std::vector<std::uint8_t> ReadPictureFile(const std::wstring& FileName) {
  std::ifstream In(NativePath(FileName), std::ios::binary | std::ios::ate);
  if (!In) throw EPictureError("ファイルを開けません");
  const std::streamoff Size = In.tellg();
  if (Size < 0) throw EPictureError("ファイルを読み取れません");
  if (static_cast<unsigned long long>(Size) > MaxPictureFileBytes)
    throw EPictureError("ファイルが大きすぎます (上限 " + std::to_string(MaxPictureFileBytes >> 20) + " MiB)");
  std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Size));
  In.seekg(0);
  if (!In.read(reinterpret_cast<char*>(Bytes.data()), Size) || In.gcount() != Size)
    throw EPictureError("ファイルを読み取れません");
  return Bytes;
}

}  // namespace tarnwick
