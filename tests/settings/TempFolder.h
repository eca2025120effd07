#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the test ends.
class TempFolder {
 public:
  TempFolder() {
    std::random_device Random;
    FPath = std::filesystem::temp_directory_path() / ("tarnwick-test-" + std::to_string(Random()));
    std::filesystem::create_directories(FPath);
  }
  ~TempFolder() {
    std::error_code Ignored;
    std::filesystem::remove_all(FPath, Ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::wstring File(const std::wstring& Name) const { return (FPath / Name).wstring(); }

 private:
  std::filesystem::path FPath;
};

inline std::string ReadBytes(const std::filesystem::path& File) {
  std::ifstream In(File, std::ios::binary);
  std::ostringstream Bytes;
  Bytes << In.rdbuf();
  return Bytes.str();
}

inline void WriteBytes(const std::filesystem::path& File, const std::string& Bytes) {
  std::ofstream Out(File, std::ios::binary);
  Out << Bytes;
}
