#include <gmock/gmock.h>

#include "shell/DataFolder.h"
#include "tests/shell/FakeDesktopTest.h"

namespace tarnwick {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int AppDataId = 26;
constexpr int CommonAppDataId = 35;
const std::wstring Roaming = L"C:\\Users\\Ann\\AppData\\Roaming";
const std::wstring Maker = Roaming + L"\\Fellmoor";
const std::wstring Program = Maker + L"\\Tarnwick";

class DataFolderTest : public FakeDesktopTest {
 protected:
  DataFolderTest() {
    ResetDataFolders();
    Desk.SpecialFolders[AppDataId] = Roaming;
    Desk.AddFolder(Roaming);
  }
  ~DataFolderTest() override { ResetDataFolders(); }
};

TEST_F(DataFolderTest, FirstStartMakesBothLevels) {
  EXPECT_TRUE(PrepareDataFolder(L"Tarnwick", false));
  EXPECT_THAT(Desk.CreatedFolders, ElementsAre(Maker, Program));
  EXPECT_EQ(DataFolder(), Program + L"\\");
  EXPECT_EQ(CommonDataFolder(), L"");
}

TEST_F(DataFolderTest, LaterStartMakesNothing) {
  Desk.AddFolder(Maker);
  Desk.AddFolder(Program);
  EXPECT_TRUE(PrepareDataFolder(L"Tarnwick", false));
  EXPECT_THAT(Desk.CreatedFolders, IsEmpty());
  EXPECT_EQ(DataFolder(), Program + L"\\");
}

TEST_F(DataFolderTest, ExistingMakerFolderGetsOnlyTheProgramLevel) {
  Desk.AddFolder(Maker);
  EXPECT_TRUE(PrepareDataFolder(L"Tarnwick", false));
  EXPECT_THAT(Desk.CreatedFolders, ElementsAre(Program));
}

TEST_F(DataFolderTest, FileNamedLikeTheMakerFolderFailsButKeepsThePath) {
  Desk.AddFile(Maker);
  EXPECT_FALSE(PrepareDataFolder(L"Tarnwick", false));
  EXPECT_THAT(Desk.CreatedFolders, IsEmpty());
  EXPECT_EQ(DataFolder(), Program + L"\\");
}

TEST_F(DataFolderTest, MissingApplicationDataFolderIsNeverMade) {
  Desk.SpecialFolders[AppDataId] = L"D:\\Gone\\Roaming";
  EXPECT_FALSE(PrepareDataFolder(L"Tarnwick", false));
  EXPECT_THAT(Desk.CreatedFolders, IsEmpty());
}

TEST_F(DataFolderTest, FailedLookupMakesNothingAndEmptiesThePath) {
  ASSERT_TRUE(PrepareDataFolder(L"Tarnwick", false));
  Desk.SpecialFolders.clear();
  // The levels would otherwise be made at the root of the current drive.
  Desk.AddFolder(L"");
  EXPECT_FALSE(PrepareDataFolder(L"Tarnwick", false));
  EXPECT_THAT(Desk.CreatedFolders, ElementsAre(Maker, Program));
  EXPECT_EQ(DataFolder(), L"");
}

TEST_F(DataFolderTest, CommonModeKeepsItsOwnPath) {
  Desk.SpecialFolders[CommonAppDataId] = L"C:\\ProgramData";
  Desk.AddFolder(L"C:\\ProgramData");
  EXPECT_TRUE(PrepareDataFolder(L"Tarnwick", true));
  EXPECT_EQ(CommonDataFolder(), L"C:\\ProgramData\\Fellmoor\\Tarnwick\\");
  EXPECT_EQ(DataFolder(), L"");
}

TEST_F(FakeDesktopTest, SpecialFolderPathMapsEachKind) {
  const int Identifiers[] = {5, 26, 28, 35, 39, 46};
  for (int Kind = 0; Kind < 6; ++Kind) Desk.SpecialFolders[Identifiers[Kind]] = L"F" + std::to_wstring(Kind);
  for (std::uint8_t Kind = 0; Kind < 6; ++Kind) EXPECT_EQ(SpecialFolderPath(Kind), L"F" + std::to_wstring(Kind));
  EXPECT_EQ(SpecialFolderPath(6), L"");
}

TEST_F(FakeDesktopTest, SpecialFolderPathStopsAtNulAndAtMaxPath) {
  Desk.SpecialFolders[26] = std::wstring(L"C:\\A\0B", 6);
  EXPECT_EQ(SpecialFolderPath(1), L"C:\\A");
  Desk.SpecialFolders[26] = std::wstring(300, L'x');
  EXPECT_EQ(SpecialFolderPath(1), std::wstring(260, L'x'));
  Desk.SpecialFolders.clear();
  EXPECT_EQ(SpecialFolderPath(1), L"");
}

}  // namespace
}  // namespace tarnwick
