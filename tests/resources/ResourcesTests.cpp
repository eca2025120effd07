#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

std::string_view Resource(const wchar_t* Name, const wchar_t* Type) {
  HRSRC Found = FindResourceW(nullptr, Name, Type);
  if (!Found) return {};
  HGLOBAL Loaded = LoadResource(nullptr, Found);
  return {static_cast<const char*>(LockResource(Loaded)), SizeofResource(nullptr, Found)};
}

std::uint32_t Little32(std::string_view Bytes, std::size_t At) {
  std::uint32_t Value = 0;
  std::memcpy(&Value, Bytes.data() + At, 4);
  return Value;
}

std::uint16_t Little16(std::string_view Bytes, std::size_t At) {
  std::uint16_t Value = 0;
  std::memcpy(&Value, Bytes.data() + At, 2);
  return Value;
}

}  // namespace

TEST(Resources, BuiltInPictureIsABaseline250By250Jpeg) {
  const std::string_view Jpeg = Resource(L"BUILTIN", MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  ASSERT_GT(Jpeg.size(), 1000u);
  EXPECT_EQ(Jpeg.substr(0, 2), "\xFF\xD8");
  const std::size_t Frame = Jpeg.find("\xFF\xC0");  // baseline start of frame
  ASSERT_NE(Frame, std::string_view::npos);
  EXPECT_EQ(Jpeg.find("\xFF\xC2"), std::string_view::npos) << "not progressive";
  const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(Jpeg[Frame + I]); };
  EXPECT_EQ(Byte(5) << 8 | Byte(6), 250) << "height";
  EXPECT_EQ(Byte(7) << 8 | Byte(8), 250) << "width";
}

TEST(Resources, PageSoundIsStereo44kHz16BitPcmOfAboutHalfASecond) {
  const std::string_view Wave = Resource(L"PAGE", L"WAVE");
  ASSERT_GT(Wave.size(), 44u);
  EXPECT_EQ(Wave.substr(0, 4), "RIFF");
  EXPECT_EQ(Wave.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Little16(Wave, 20), 1) << "PCM";
  EXPECT_EQ(Little16(Wave, 22), 2) << "channels";
  EXPECT_EQ(Little32(Wave, 24), 44100u) << "samples per second";
  EXPECT_EQ(Little16(Wave, 34), 16) << "bits per sample";
  const std::size_t Data = Wave.find("data");
  ASSERT_NE(Data, std::string_view::npos);
  const double Seconds = Little32(Wave, Data + 4) / (44100.0 * 4);
  EXPECT_NEAR(Seconds, 0.575, 0.005);
}

TEST(Resources, IconHasNineSizesFrom16To256) {
  // The group directory lists each image: its width byte is 0 for 256.
  const std::string_view Group = Resource(L"MAINICON", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  ASSERT_GE(Group.size(), 6u);
  ASSERT_EQ(Little16(Group, 4), 9);
  std::string Widths;
  for (int I = 0; I < 9; ++I) {
    const int Width = static_cast<unsigned char>(Group[6 + I * 14]);
    Widths += std::to_string(Width == 0 ? 256 : Width) + " ";
  }
  EXPECT_EQ(Widths, "256 128 64 48 40 32 24 20 16 ");
  EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0), nullptr);
}

TEST(Resources, ManifestAndVersionAreThere) {
  const std::string_view Manifest = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
  EXPECT_NE(Manifest.find("PerMonitorV2"), std::string_view::npos);
  EXPECT_NE(Manifest.find("asInvoker"), std::string_view::npos);
  EXPECT_NE(Manifest.find("Microsoft.Windows.Common-Controls"), std::string_view::npos);
  wchar_t Path[MAX_PATH];
  GetModuleFileNameW(nullptr, Path, MAX_PATH);
  EXPECT_GT(GetFileVersionInfoSizeW(Path, nullptr), 0u);
}
