#include <gtest/gtest.h>

#include <string>

#include "watch/PictureChoice.h"
#include "watch/PopupFit.h"
#include "watch/SettingsModel.h"

using namespace tarnwick;

namespace {

TEST(SettingsModelTest, DerivedQuantitiesFollowTheIndexes) {
  struct Case {
    int Index, Countdown, LifetimeMs, LongSide;
  };
  for (const Case& C : {Case{-1, 0, 0, 400}, Case{0, 10, 1000, 600}, Case{1, 20, 2000, 400}, Case{2, 30, 3000, 200},
                        Case{5, 60, 6000, 400}, Case{9, 100, 10000, 400}, Case{29, 300, 30000, 400}}) {
    SCOPED_TRACE(C.Index);
    EXPECT_EQ(IdleCountdownStart(C.Index), C.Countdown);
    EXPECT_EQ(PopupLifetimeMs(C.Index), C.LifetimeMs);
    EXPECT_EQ(PopupLongSide(C.Index), C.LongSide);
  }
  EXPECT_EQ(SoundModeOf(0), TSoundMode::smNone);
  EXPECT_EQ(SoundModeOf(1), TSoundMode::smBuiltIn);
  EXPECT_EQ(SoundModeOf(2), TSoundMode::smFile);
  EXPECT_EQ(SoundModeOf(-1), TSoundMode::smTrackOnly);
}

TEST(SettingsModelTest, ListEntriesArePlainSeconds) {
  const TStrings Idle = IdleTimeEntries();
  ASSERT_EQ(Idle.size(), 30u);
  EXPECT_EQ(Idle[0], L"10秒");
  EXPECT_EQ(Idle[5], L"60秒");
  EXPECT_EQ(Idle[29], L"300秒");
  const TStrings Lifetime = LifetimeEntries();
  ASSERT_EQ(Lifetime.size(), 10u);
  EXPECT_EQ(Lifetime[0], L"1秒");
  EXPECT_EQ(Lifetime[9], L"10秒");
}

TEST(PopupFitTest, FitsTheLongSideKeepingTheAspectRatio) {
  struct Case {
    int W, H, S;
    TPopupSize Expected;
  };
  for (const Case& C : {Case{250, 250, 400, {400, 400}}, Case{640, 480, 400, {400, 300}},
                        Case{480, 640, 400, {300, 400}}, Case{7, 3, 600, {600, 257}}, Case{1000, 3, 400, {400, 1}},
                        Case{0, 0, 200, {200, 200}}, Case{0, 5, 400, {0, 400}}, Case{5, 0, 400, {400, 0}},
                        Case{100000, 99999, 600, {600, 599}}}) {
    SCOPED_TRACE(std::to_string(C.W) + "x" + std::to_string(C.H));
    EXPECT_EQ(FitToLongSide(C.W, C.H, C.S), C.Expected);
  }
}

TEST(PopupFitTest, CentresOnThePointerEvenOffScreen) {
  struct Case {
    TPoint Pointer;
    int W, H;
    TPoint Expected;
  };
  for (const Case& C : {Case{{1000, 500}, 400, 400, {800, 300}}, Case{{100, 10}, 257, 600, {-28, -290}},
                        Case{{-500, -20}, 401, 3, {-700, -21}}, Case{{0, 0}, 0, 1, {0, 0}}}) {
    EXPECT_EQ(CentredTopLeft(C.Pointer, C.W, C.H), C.Expected);
  }
}

TEST(PictureChoiceTest, ExtensionDecides) {
  struct Case {
    const wchar_t* Name;
    bool Picture, Gif, Wave;
  };
  for (const Case& C : {Case{L"C:\\pics\\Cat.JPG", true, false, false}, Case{L"a.jpeg", true, false, false},
                        Case{L"a.PNG", true, false, false}, Case{L"a.bmp", true, false, false},
                        Case{L"D:\\anim.Gif", true, true, false}, Case{L"photo.jpe", false, false, false},
                        Case{L"anim.webp", false, false, false}, Case{L"C:\\pics.d\\noext", false, false, false},
                        Case{L"C:x.gif\\y", false, false, false}, Case{L"Chime.WAV", false, false, true},
                        Case{L"", false, false, false}}) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(IsAcceptedPictureName(C.Name), C.Picture);
    EXPECT_EQ(IsGifName(C.Name), C.Gif);
    EXPECT_EQ(IsWaveName(C.Name), C.Wave);
  }
}

}  // namespace
