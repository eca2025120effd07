#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "pictures/GifAnimation.h"
#include "pictures/GifFrameStore.h"
#include "pictures/GifPlayer.h"
#include "tests/pictures/TestPictures.h"

using namespace tarnwick;
using namespace picture_tests;

namespace {

TGifFrameImage Image(int Width, int Height, std::uint8_t Seed, std::uint32_t Color) {
  TGifFrameImage Result;
  Result.Left = Seed;
  Result.Top = Seed / 2;
  Result.Width = Width;
  Result.Height = Height;
  Result.Disposal = Seed % 2 ? TGifDisposal::gdPrevious : TGifDisposal::gdBackground;
  for (int I = 0; I < Width * Height; ++I) Result.Indexes.push_back(static_cast<std::uint8_t>(I * Seed / 7));
  Result.Colors[1] = Color;
  return Result;
}

bool Same(const TGifFrameImage& A, const TGifFrameImage& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Width == B.Width && A.Height == B.Height &&
         A.Disposal == B.Disposal && A.Colors == B.Colors && A.Indexes == B.Indexes;
}

constexpr std::size_t NoBudget = std::numeric_limits<std::size_t>::max();

TGifAnimation Animation(const Bytes& Gif, std::size_t Budget) { return TGifAnimation(Gif, TPictureLimits{}, Budget); }

}  // namespace

TEST(GifFrameStore, KeepsFramesInOrderUntilOneDoesNotFitItsBudget) {
  const std::vector<TGifFrameImage> Frames = {Image(30, 20, 1, 0xFF0000FFu), Image(25, 25, 2, 0xFF0000FFu),
                                             Image(400, 300, 3, 0xFF00FF00u), Image(1, 1, 4, 0xFF0000FFu)};
  TGifFrameStore Unbounded(NoBudget);
  for (const TGifFrameImage& Frame : Frames) Unbounded.Keep(Frame);
  ASSERT_EQ(Unbounded.Kept(), 4);
  TGifFrameImage Expanded = Image(5, 5, 9, 0);
  for (int Index = 0; Index < 4; ++Index) {
    Unbounded.Expand(Index, Expanded);
    EXPECT_TRUE(Same(Expanded, Frames[static_cast<std::size_t>(Index)])) << "frame " << Index;
  }

  // A budget of the first two frames and the small fourth keeps the first
  // two; the large third does not fit, and the fourth, which would, is not
  // kept after it.
  const auto Bytes = [&](std::initializer_list<int> Kept) {
    TGifFrameStore Store(NoBudget);
    for (const int Index : Kept) Store.Keep(Frames[static_cast<std::size_t>(Index)]);
    return Store.Bytes();
  };
  for (const std::size_t Budget : {Bytes({0, 1, 3}), Bytes({0, 1}) - 1}) {
    TGifFrameStore Store(Budget);
    for (const TGifFrameImage& Frame : Frames) Store.Keep(Frame);
    EXPECT_EQ(Store.Kept(), Budget == Bytes({0, 1, 3}) ? 2 : 1) << Budget;
    EXPECT_LE(Store.Bytes(), Budget);
    Store.Expand(Store.Kept() - 1, Expanded);
    EXPECT_TRUE(Same(Expanded, Frames[static_cast<std::size_t>(Store.Kept() - 1)]));
  }
}

TEST(GifFrameStore, KeepsTheFileOnlyWhenSomeFrameIsNotInTheStore) {
  const Bytes Gif = EveryWayGif();
  const std::size_t Whole = Animation(Gif, NoBudget).Store().Bytes();
  const struct {
    std::size_t Budget;
    bool Every;
  } Cases[] = {{NoBudget, true}, {Whole, true}, {Whole - 1, false}, {Whole / 2, false}, {0, false}};
  for (const auto& Case : Cases) {
    const TGifAnimation Held = Animation(Gif, Case.Budget);
    EXPECT_EQ(Held.Store().Kept() == Held.FrameCount(), Case.Every) << Case.Budget;
    EXPECT_EQ(Held.Bytes().size(), Case.Every ? 0u : Gif.size()) << Case.Budget;
  }
}

// Frames from the store, from the file, or partly from each are composited
// alike, going on and going back.
TEST(GifFrameStore, PlaysFramesFromTheStoreAsFromTheFile) {
  const Bytes Gif = EveryWayGif();
  const TGifAnimation FromFile = Animation(Gif, 0);
  ASSERT_EQ(FromFile.Store().Kept(), 0);
  const TGifAnimation FromStore = Animation(Gif, NoBudget);
  const TGifAnimation Straddling = Animation(Gif, FromStore.Store().Bytes() / 2);
  ASSERT_GT(Straddling.Store().Kept(), 0);
  ASSERT_LT(Straddling.Store().Kept(), Straddling.FrameCount());
  for (const TGifAnimation* Held : {&FromStore, &Straddling}) {
    TGifPlayer Expected(FromFile);
    TGifPlayer Player(*Held);
    for (const int Index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 3, 5, 9, 0, 4, 7, 8}) {
      const TPictureFrame& Made = Player.Frame(Index);
      ASSERT_EQ(Made.Pixels, Expected.Frame(Index).Pixels) << "frame " << Index << ", " << Held->Store().Kept() << " kept";
      const TPixelArea Changed = Player.Changed();
      const TPixelArea Want = Expected.Changed();
      EXPECT_TRUE(Changed.Left == Want.Left && Changed.Top == Want.Top && Changed.Right == Want.Right &&
                  Changed.Bottom == Want.Bottom)
          << "frame " << Index;
    }
  }
}
