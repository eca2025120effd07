#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pictures/PictureDecoder.h"
#include "pictures/PictureErrors.h"
#include "pictures/PictureFile.h"
#include "tests/settings/TempFolder.h"
#include "tests/pictures/TestPictures.h"
#include "base/Utf.h"

using namespace tarnwick;
using namespace picture_tests;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

std::string ErrorOf(const std::wstring& File) {
  try {
    DecodePictureFile(File, ShownLongSide);
  } catch (const EPictureError& Error) {
    return Error.what();
  }
  return "no error";
}

// The full name of a file in Folder; the name may be any Unicode text.
std::wstring FileIn(const TempFolder& Folder, const std::wstring& Name) {
  return Folder.Path().wstring() + static_cast<wchar_t>(std::filesystem::path::preferred_separator) + Name;
}

void CopyFixture(const std::string& Name, const std::wstring& To) {
  std::filesystem::copy_file(FixturePath(Name), NativePath(To));
}

}  // namespace

TEST(PictureDecoder, ReadsAFileByItsExtensionWhateverItsCaseAndName) {
  TempFolder Folder;
  const std::wstring File = FileIn(Folder, L"写真 \u00e9t\u00e9.GiF");
  CopyFixture("interlaced.gif", File);
  const TPicture Result = DecodePictureFile(File, ShownLongSide);
  EXPECT_EQ(Result.NominalWidth, 17);
  EXPECT_EQ(Result.NominalHeight, 5);
  EXPECT_EQ(Result.Frames.size(), 1u);
}

TEST(PictureDecoder, KeepsTheRasterAtTheLongSideAsked) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"wide.png");
  const Bytes Png = EncodePng(RgbaImage(1000, 500));
  std::ofstream(NativePath(File), std::ios::binary).write(reinterpret_cast<const char*>(Png.data()), static_cast<std::streamsize>(Png.size()));
  const TPicture Shown = DecodePictureFile(File, ShownLongSide);
  EXPECT_EQ(Shown.Frames.at(0).Width, 600);
  EXPECT_EQ(Shown.Frames.at(0).Height, 300);
  const TPicture Smaller = DecodePictureFile(File, 200);
  EXPECT_EQ(Smaller.NominalWidth, 1000);
  EXPECT_EQ(Smaller.Frames.at(0).Width, 200);
  EXPECT_EQ(Smaller.Frames.at(0).Height, 100);
}

TEST(PictureDecoder, NamesTheFileAndTheReasonWhenItCannotRead) {
  TempFolder Folder;
  const std::wstring Disguised = FileIn(Folder, L"本当は PNG.jpg");
  CopyFixture("reference.png", Disguised);
  EXPECT_THAT(ErrorOf(Disguised), StartsWith("画像ファイル \"" + ToUtf8(Disguised) + "\" を読み込めません: "));
  EXPECT_THAT(ErrorOf(Disguised), HasSubstr("Not a JPEG file"));

  const std::wstring Sound = Folder.File(L"chime.wav");
  CopyFixture("reference.png", Sound);
  EXPECT_THAT(ErrorOf(Sound), HasSubstr("を読み込めません: 対応していない拡張子です"));
  EXPECT_THAT(ErrorOf(Folder.File(L"missing.png")), HasSubstr("を読み込めません: ファイルを開けません"));
  for (const wchar_t* Name : {L"empty.jpg", L"empty.png", L"empty.bmp", L"empty.gif"}) {
    const std::wstring Empty = Folder.File(Name);
    std::ofstream(NativePath(Empty), std::ios::binary).flush();
    EXPECT_THAT(ErrorOf(Empty), HasSubstr("を読み込めません: ファイルが空です")) << ToUtf8(Name);
  }
  const std::wstring Directory = Folder.File(L"folder.png");
  std::filesystem::create_directory(NativePath(Directory));
  EXPECT_THAT(ErrorOf(Directory), HasSubstr("を読み込めません: ファイルを開けません"));
}

TEST(PictureDecoder, RefusesAFileTooLargeBeforeReadingIt) {
  TempFolder Folder;
  const std::wstring Huge = Folder.File(L"huge.bmp");
  std::ofstream(NativePath(Huge), std::ios::binary).put('B');
  // Sparse: the test takes no disk space.
  std::filesystem::resize_file(NativePath(Huge), MaxPictureFileBytes + 1);
  EXPECT_THAT(ErrorOf(Huge), HasSubstr("ファイルが大きすぎます (上限 256 MiB)"));
}
