#include <gmock/gmock.h>

#include "tests/shell/FakeDesktopTest.h"
#include "shell/ReadyDrive.h"
#include "shell/SoundFile.h"

namespace tarnwick {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr unsigned FailCriticalErrors = 0x0001;
constexpr unsigned ModeBefore = 0x8000;

class ReadyDriveTest : public FakeDesktopTest {
 protected:
  ReadyDriveTest() {
    Desk.ErrorMode = ModeBefore;
    Desk.ReadyDrives[L'C'] = 500'000'000'000;
    Desk.ReadyDrives[L'E'] = 0;  // an empty medium is still a ready drive
    for (const wchar_t* File : {L"C:\\a.wav", L"E:\\a.wav", L"Q:\\a.wav", L"q.wav", L"\\\\server\\share\\a.wav",
                                L"\\a.wav", L"1.wav", L"/a.wav", L".\\a.wav", L"\uFF23:\\a.wav"})
      Desk.AddFile(File);
    Desk.AddFolder(L"C:\\Sounds");
  }
};

TEST_F(ReadyDriveTest, FileExistsOnReadyDrive) {
  const struct {
    const wchar_t* Path;
    bool Exists;
    const wchar_t* QueriedRoot;  // none: no drive query
    bool LookedFor;
  } Cases[] = {
      {L"C:\\a.wav", true, L"C:\\", true},
      {L"c:\\a.wav", true, L"C:\\", true},
      {L"E:\\a.wav", true, L"E:\\", true},
      {L"C:\\missing.wav", false, L"C:\\", true},
      {L"C:\\Sounds", false, L"C:\\", true},
      {L"Q:\\a.wav", false, L"Q:\\", false},
      {L"q.wav", false, L"Q:\\", false},
      {L"\\\\server\\share\\a.wav", true, nullptr, true},
      {L"\\a.wav", true, nullptr, true},
      {L"", false, nullptr, false},
      {L"1.wav", false, nullptr, false},
      {L"/a.wav", false, nullptr, false},
      {L".\\a.wav", false, nullptr, false},
      {L"\uFF23:\\a.wav", false, nullptr, false},  // a full-width C is no drive
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(Case.Path)));
    Desk.DriveQueries.clear();
    Desk.FilesLookedFor.clear();
    EXPECT_EQ(FileExistsOnReadyDrive(Case.Path), Case.Exists);
    if (Case.QueriedRoot) {
      ASSERT_EQ(Desk.DriveQueries.size(), 1u);
      EXPECT_EQ(Desk.DriveQueries[0].RootPath, Case.QueriedRoot);
    } else {
      EXPECT_THAT(Desk.DriveQueries, IsEmpty());
    }
    EXPECT_EQ(Desk.FilesLookedFor.size(), Case.LookedFor ? 1u : 0u);
  }
}

TEST_F(ReadyDriveTest, ErrorModeFailsCriticalErrorsOnlyDuringTheQuery) {
  EXPECT_FALSE(DriveReady(L'q'));
  ASSERT_EQ(Desk.DriveQueries.size(), 1u);
  EXPECT_EQ(Desk.DriveQueries[0].ErrorMode, FailCriticalErrors);
  EXPECT_EQ(Desk.ErrorMode, ModeBefore);
}

TEST_F(ReadyDriveTest, ErrorModeIsRestoredWhenTheQueryRaises) {
  Desk.DriveQueryRaises = true;
  EXPECT_THROW(DriveReady(L'C'), std::runtime_error);
  EXPECT_EQ(Desk.ErrorMode, ModeBefore);
}

TEST_F(ReadyDriveTest, PathDriveReadyLooksOnlyAtTheFirstUnit) {
  EXPECT_TRUE(PathDriveReady(L"Cx"));
  EXPECT_TRUE(PathDriveReady(L"\\"));
  EXPECT_FALSE(PathDriveReady(L""));
  EXPECT_FALSE(PathDriveReady(L"Qx"));
}

TEST_F(ReadyDriveTest, PlaySoundFileOnlyForAFileOnAReadyDrive) {
  for (const wchar_t* Path : {L"C:\\a.wav", L"C:\\missing.wav", L"Q:\\a.wav", L"C:\\Sounds", L""}) PlaySoundFile(Path);
  EXPECT_THAT(Desk.PlayedFiles, ElementsAre(L"C:\\a.wav"));
}

}  // namespace
}  // namespace tarnwick
