#include <windows.h>

#include "tests/watch/WatchTest.h"

using namespace tarnwick;
using tarnwick::testing::WatchTest;

namespace {

class CrossingSoundTest : public WatchTest {
 protected:
  // Two monitors side by side; below the smaller one lies a gap.
  void TwoMonitors() {
    Desk.AddMonitor({0, 0, 1024, 768});
    Desk.AddMonitor({1024, 0, 1824, 600});
  }
  void Check(TPoint Pointer) {
    Desk.Cursor = Pointer;
    Form().CheckMonitorChange();
  }
  static constexpr TPoint Left{100, 100};
  static constexpr TPoint Right{1200, 100};
  static constexpr TPoint Gap{1200, 700};
};

TEST_F(CrossingSoundTest, EachCrossingPlaysTheBuiltInSoundButTheFirstSightingDoesNot) {
  TwoMonitors();
  Form().RadioGroupWav->SetItemIndex(1);
  Check(Left);
  EXPECT_EQ(Form().MMonNo, 0);
  EXPECT_TRUE(Desk.PlayedResources.empty());
  Check(Left);
  Check(Right);
  Check(Left);
  EXPECT_EQ(Desk.PlayedResources, (std::vector<std::wstring>{L"page", L"page"}));
  // No monitor is a change; the next check only records where it is.
  Check(Gap);
  EXPECT_EQ(Form().MMonNo, -1);
  Check(Right);
  EXPECT_EQ(Desk.PlayedResources.size(), 3u);
  EXPECT_EQ(Form().MMonNo, 1);
}

TEST_F(CrossingSoundTest, TheFileModePlaysOnlyAnExistingFile) {
  TwoMonitors();
  Desk.ReadyDrives[L'C'] = 1;
  Form().RadioGroupWav->SetItemIndex(2);
  Form().EditWav->SetText(L"C:\\sounds\\missing.wav");
  Check(Left);
  Check(Right);
  EXPECT_TRUE(Desk.PlayedFiles.empty());
  Desk.AddFile(L"C:\\sounds\\chime.wav");
  Form().EditWav->SetText(L"C:\\sounds\\chime.wav");
  Check(Left);
  EXPECT_EQ(Desk.PlayedFiles, std::vector<std::wstring>{L"C:\\sounds\\chime.wav"});
  EXPECT_TRUE(Desk.PlayedResources.empty());
}

TEST_F(CrossingSoundTest, AStoredModeBelowZeroTracksSilently) {
  TwoMonitors();
  WriteSettings("<Wav Type=\"9\">-2</Wav>");
  ASSERT_EQ(Form().RadioGroupWav->ItemIndex(), -1);
  Check(Left);
  Check(Right);
  EXPECT_EQ(Form().MMonNo, 1);
  EXPECT_TRUE(Desk.PlayedResources.empty());
  EXPECT_TRUE(Desk.PlayedFiles.empty());
}

TEST_F(CrossingSoundTest, PickingAModePreviewsItOnlyOnceAMonitorIsKnown) {
  TwoMonitors();
  Form().RadioGroupWav->SetItemIndex(1);  // no monitor recorded yet
  EXPECT_TRUE(Desk.PlayedResources.empty());
  Check(Left);
  Form().RadioGroupWav->SetItemIndex(0);
  EXPECT_TRUE(Desk.PlayedResources.empty());
  Form().RadioGroupWav->SetItemIndex(1);
  EXPECT_EQ(Desk.PlayedResources.size(), 1u);
  EXPECT_EQ(Form().MMonNo, 0);

  // Mode 0 neither tracks nor plays; the recorded monitor stays.
  Form().RadioGroupWav->SetItemIndex(0);
  Check(Right);
  EXPECT_EQ(Form().MMonNo, 0);
  Form().RadioGroupWav->SetItemIndex(1);
  Check(Right);
  EXPECT_EQ(Desk.PlayedResources.size(), 3u);
}

TEST_F(CrossingSoundTest, OneMonitorAtStartDisablesTheSoundForTheRun) {
  Desk.AddMonitor({0, 0, 1024, 768});
  Form().RadioGroupWav->SetItemIndex(1);
  EXPECT_FALSE(Form().GroupBoxWav->Enabled());
  Desk.AddMonitor({1024, 0, 1824, 600});
  Check(Left);
  Check(Right);
  EXPECT_EQ(Form().MMonNo, -1);
  EXPECT_TRUE(Desk.PlayedResources.empty());
}

TEST_F(CrossingSoundTest, ADisplayChangeRenumbersTheMonitors) {
  TwoMonitors();
  Form().RadioGroupWav->SetItemIndex(1);
  Check(Right);
  EXPECT_EQ(Form().MMonNo, 1);
  std::swap(Desk.MonitorList[0], Desk.MonitorList[1]);
  SendMessageW(Form().Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1824, 768));
  Check(Right);
  EXPECT_EQ(Form().MMonNo, 0);
}

TEST_F(CrossingSoundTest, AnUnknownPointerIsNoCrossing) {
  TwoMonitors();
  Form().RadioGroupWav->SetItemIndex(1);
  Check(Left);
  Desk.Cursor = std::nullopt;
  Form().CheckMonitorChange();
  EXPECT_EQ(Form().MMonNo, 0);
  EXPECT_TRUE(Desk.PlayedResources.empty());
}

}  // namespace
