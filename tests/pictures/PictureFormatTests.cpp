#include <gtest/gtest.h>

#include "pictures/PictureFormat.h"

using namespace tarnwick;

TEST(PictureFormat, TakesTheExtensionAfterTheLastSeparator) {
  struct Case {
    const wchar_t* Name;
    const wchar_t* Extension;
  };
  for (const Case& C : {
           Case{L"C:\\pics\\Cat.JPG", L".jpg"},
           Case{L"C:\\pics\\archive.tar.GIF", L".gif"},
           Case{L"C:\\pics.d\\noext", L""},
           Case{L"/home/u/pics.d/noext", L""},
           Case{L"C:noext", L""},
           Case{L"C:.PNG", L".png"},
           Case{L"C:\\pics\\trailing.", L"."},
           Case{L"", L""},
           Case{L"C:\\写真\\猫.Jpeg", L".jpeg"},
       }) {
    EXPECT_EQ(LowerCaseExtension(C.Name), C.Extension) << ::testing::PrintToString(std::wstring(C.Name));
  }
}

TEST(PictureFormat, KnowsFiveExtensionsAndNothingElse) {
  EXPECT_EQ(PictureFormatOfExtension(L".jpg"), TPictureFormat::pfJpeg);
  EXPECT_EQ(PictureFormatOfExtension(L".jpeg"), TPictureFormat::pfJpeg);
  EXPECT_EQ(PictureFormatOfExtension(L".png"), TPictureFormat::pfPng);
  EXPECT_EQ(PictureFormatOfExtension(L".bmp"), TPictureFormat::pfBitmap);
  EXPECT_EQ(PictureFormatOfExtension(L".gif"), TPictureFormat::pfGif);
  for (const wchar_t* Other : {L".jpe", L".webp", L".wav", L"", L".", L".JPG", L"jpg"})
    EXPECT_EQ(PictureFormatOfExtension(Other), std::nullopt);
}
