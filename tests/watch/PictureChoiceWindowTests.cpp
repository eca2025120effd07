#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "support/PictureEncoders.h"
#include "tests/watch/WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::WatchTest;

namespace {

using picture_tests::EncodeGif;
using picture_tests::EncodeJpeg;
using picture_tests::FilledGifFrame;
using picture_tests::RgbaImage;
using tarnwick::testing::NewestSplash;

class PictureChoiceWindowTest : public WatchTest {
 protected:
  // A real file that the scripted desktop also knows.
  std::wstring MakeFile(const std::wstring& Name, const std::vector<std::uint8_t>& Bytes) {
    const std::wstring Path = Temp.File(Name);
    WriteBytes(Path, std::string(Bytes.begin(), Bytes.end()));
    Desk.AddFile(Path);
    return Path;
  }
  std::wstring MakeJpeg(const std::wstring& Name) { return MakeFile(Name, EncodeJpeg(RgbaImage(64, 32))); }

  // Drops Files on the settings window as the shell does.
  void Drop(const TStrings& Files) {
    SendMessageW(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(tarnwick::testing::ShellDrop(Files)), 0);
  }
  int ShownWidth() { return Form().Image->GetPicture().NominalWidth; }
  std::wstring Caption() { return Form().LabelPicture->Caption(); }
};

TEST_F(PictureChoiceWindowTest, AcceptedNamesLoadAndOthersFallBackToTheBuiltInPicture) {
  std::filesystem::create_directories(Temp.Path() / "pics.d");
  const std::wstring Folder = Temp.File(L"folder");
  Desk.AddFolder(Folder);
  const struct {
    std::wstring Name;
    bool Kept;
  } Cases[] = {
      {MakeJpeg(L"Cat.JPG"), true},
      {MakeJpeg(L"photo.jpe"), false},
      {MakeJpeg(L"anim.webp"), false},
      {MakeJpeg(L"pics.d\\noext"), false},
      {Folder, false},
      {Temp.File(L"missing.jpg"), false},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(std::string(Case.Name.begin(), Case.Name.end()));
    Drop({Temp.File(L"unused.png")});  // back to the built-in picture first
    Drop({Case.Name});
    EXPECT_EQ(Caption(), Case.Kept ? Case.Name : L"");
    EXPECT_EQ(ShownWidth(), Case.Kept ? 64 : 250);
  }
}

TEST_F(PictureChoiceWindowTest, OnlyTheFirstDropCountsAndAWaveFileIsTheSound) {
  const std::wstring Cat = MakeJpeg(L"cat.jpg");
  Drop({Cat, MakeJpeg(L"two.jpg"), MakeJpeg(L"three.jpg")});
  EXPECT_EQ(Caption(), Cat);

  Drop({L"C:\\sounds\\Chime.WAV", Cat});
  EXPECT_EQ(Form().EditWav->Text(), L"C:\\sounds\\Chime.WAV");
  EXPECT_EQ(Caption(), Cat);
  EXPECT_TRUE(Desk.PlayedFiles.empty());
}

TEST_F(PictureChoiceWindowTest, AGifPlaysHereAndInThePopup) {
  const std::wstring Gif =
      MakeFile(L"anim.GIF", EncodeGif(4, 4, {{0, 0, 0}, {255, 255, 255}},
                                      {FilledGifFrame(0, 0, 4, 4, 0), FilledGifFrame(0, 0, 4, 4, 1)}));
  Drop({Gif});
  EXPECT_TRUE(Form().Image->GetPicture().Animated());
  EXPECT_TRUE(Form().Image->Animate());
  Form().ShowSplash();
  EXPECT_TRUE(NewestSplash(Form())->Image->Animate());
}

TEST_F(PictureChoiceWindowTest, ADamagedFileIsReportedAndThePreviousPictureStays) {
  Drop({MakeJpeg(L"cat.jpg")});
  const std::wstring Damaged = MakeFile(L"broken.gif", {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3});
  Drop({Damaged});
  EXPECT_EQ(Desk.ErrorReports.size(), 1u);
  Desk.ErrorReports.clear();
  EXPECT_EQ(ShownWidth(), 64);
  // The path stays, to be saved and tried again at the next start.
  EXPECT_EQ(Caption(), Damaged);

  // The popup shows the still picture it is given.
  Form().ShowSplash();
  EXPECT_TRUE(Form().FSplashShow);
  EXPECT_EQ(NewestSplash(Form())->Image->GetPicture().NominalWidth, 64);
}

TEST_F(PictureChoiceWindowTest, ARightButtonReleaseReturnsToTheBuiltInPicture) {
  const std::wstring Cat = MakeJpeg(L"cat.jpg");
  Drop({Cat});
  Form().ImageMouseUp(nullptr, mbLeft, 0, 1, 1);
  Form().ImageMouseUp(nullptr, mbMiddle, 0, 1, 1);
  EXPECT_EQ(Caption(), Cat);
  Form().ImageMouseUp(nullptr, mbRight, 0, 1, 1);
  EXPECT_EQ(Caption(), L"");
  EXPECT_EQ(ShownWidth(), 250);
}

}  // namespace
