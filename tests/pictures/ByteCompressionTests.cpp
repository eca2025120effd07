#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pictures/ByteCompression.h"

using namespace tarnwick;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Random(std::size_t Size, std::uint32_t Seed) {
  std::mt19937 Generator(Seed);
  Bytes Result(Size);
  for (std::uint8_t& Byte : Result) Byte = static_cast<std::uint8_t>(Generator());
  return Result;
}

Bytes Joined(std::initializer_list<Bytes> Parts) {
  Bytes Result;
  for (const Bytes& Part : Parts) Result.insert(Result.end(), Part.begin(), Part.end());
  return Result;
}

// Period bytes of noise repeated up to Size: copies Period back.
Bytes Repeating(std::size_t Period, std::size_t Size) {
  Bytes Result = Random(Period, static_cast<std::uint32_t>(Period));
  while (Result.size() < Size) Result.push_back(Result[Result.size() - Period]);
  return Result;
}

// Noise, then its first Length bytes again From bytes after they began.
Bytes RepeatedFrom(std::size_t From, std::size_t Length) {
  Bytes Result = Random(From, static_cast<std::uint32_t>(From + Length));
  Result.insert(Result.end(), Result.begin(), Result.begin() + static_cast<std::ptrdiff_t>(Length));
  return Result;
}

// Literals of Count bytes between copies of Length bytes, in turn.
Bytes Alternating(std::size_t Count, std::size_t Length) {
  const Bytes Copied = Random(Length, 1);
  Bytes Result;
  for (std::uint32_t Seed = 2; Seed < 6; ++Seed) Result = Joined({Result, Random(Count, Seed), Copied});
  return Result;
}

// Short copies from 1 to 7 bytes back between pairs of literals, as the
// colour indexes of a dithered picture give, the last ending the bytes.
Bytes ShortCopiesNearby() {
  Bytes Result = Random(16, 6);
  for (std::size_t Offset = 1; Offset <= 7; ++Offset)
    for (std::size_t Length : {4, 5, 6, 7, 8, 9, 12, 16, 17, 18, 19, 40}) {
      const Bytes Literals = Random(2, static_cast<std::uint32_t>(Offset * 16 + Length));
      Result.insert(Result.end(), Literals.begin(), Literals.end());
      for (std::size_t Copied = 0; Copied < Length; ++Copied) Result.push_back(Result[Result.size() - Offset]);
    }
  return Result;
}

// Noise, then two pieces that begin as it does and go on otherwise, each
// Alike bytes alike: the places seen last of the noise's first bytes.
Bytes NoiseAfterLikePieces(std::size_t Alike) {
  const Bytes Noise = Random(200, 9);
  Bytes Result = Noise;
  for (std::uint32_t Seed : {10, 11}) {
    Result.insert(Result.end(), Noise.begin(), Noise.begin() + static_cast<std::ptrdiff_t>(Alike));
    const Bytes Otherwise = Random(100, Seed);
    Result.insert(Result.end(), Otherwise.begin(), Otherwise.end());
  }
  return Result;
}

struct Case {
  std::string Name;
  Bytes Input;
};

std::vector<Case> Cases() {
  std::vector<Case> Result = {
      {"empty", {}},
      {"one byte", {7}},
      {"two bytes", {7, 7}},
      {"three bytes", {1, 2, 3}},
      {"four equal bytes", {9, 9, 9, 9}},
      {"a long run", Bytes(200000, 0x5A)},
      {"noise", Random(70000, 3)},
      {"a run after noise", Joined({Random(1000, 4), Bytes(5000, 0)})},
      {"noise ending in a short copy", Joined({Random(40, 5), Random(40, 5)})},
      {"short copies from nearby", ShortCopiesNearby()},
      {"a copy 65534 back", RepeatedFrom(65534, 300)},
      {"a copy 65535 back", RepeatedFrom(65535, 300)},
      {"a copy 65536 back, too far", RepeatedFrom(65536, 300)},
      {"copies 70000 back, too far", RepeatedFrom(70000, 70000)},
  };
  for (std::size_t Period = 1; Period <= 8; ++Period)
    Result.push_back({"copies " + std::to_string(Period) + " back", Repeating(Period, 1000)});
  for (std::size_t Period : {15, 16, 17, 31, 32, 33})
    Result.push_back({"copies " + std::to_string(Period) + " back", Repeating(Period, 1000)});
  // Literal counts and copy lengths on either side of the token's nibble
  // (15) and of a length byte (15 + 255), copy lengths counted from 4.
  for (std::size_t Count : {1, 14, 15, 16, 269, 270, 271, 524, 525, 526})
    Result.push_back({std::to_string(Count) + " literals between copies", Alternating(Count, 40)});
  for (std::size_t Length : {4, 5, 18, 19, 20, 273, 274, 275, 528, 529, 530})
    Result.push_back({"copies of " + std::to_string(Length), Alternating(20, Length)});
  return Result;
}

// Expands Packed into a vector of Size, false when it does not expand.
bool Expand(const Bytes& Packed, std::size_t Size, Bytes& Out) {
  Out.assign(Size, 0);
  return ExpandBytes(Packed, Out);
}

// Expands Packed into Size bytes twice: alone, where the address sanitizer
// sees any stray read or write, and between guard bytes, which must stay as
// they are. False when any guard byte changed.
bool ExpandsWithin(const Bytes& Packed, std::size_t Size) {
  Bytes Alone;
  Expand(Packed, Size, Alone);
  constexpr std::size_t Guard = 64;
  Bytes Guarded(Guard + Size + Guard, 0xAA);
  ExpandBytes(Packed, std::span(Guarded).subspan(Guard, Size));
  const auto Untouched = [](auto Begin, auto End) { return std::all_of(Begin, End, [](auto B) { return B == 0xAA; }); };
  return Untouched(Guarded.begin(), Guarded.begin() + Guard) && Untouched(Guarded.end() - Guard, Guarded.end());
}

}  // namespace

TEST(ByteCompression, ExpandsWhatItCompressedToTheSameBytes) {
  for (const Case& Each : Cases()) {
    const Bytes Packed = CompressBytes(Each.Input);
    EXPECT_LE(Packed.size(), Each.Input.size() + Each.Input.size() / 255 + 16) << Each.Name;
    Bytes Out;
    EXPECT_TRUE(Expand(Packed, Each.Input.size(), Out)) << Each.Name;
    EXPECT_EQ(Out, Each.Input) << Each.Name;
  }
  // Repeats are what it is for: a run takes a fraction of itself.
  EXPECT_LT(CompressBytes(Bytes(200000, 0x5A)).size(), 1000u);
  EXPECT_LT(CompressBytes(Repeating(8, 10000)).size(), 100u);
}

// The noise again after pieces that begin as it does is one copy from the
// noise itself, not a short copy from the piece seen last and another.
TEST(ByteCompression, CopiesFromTheLongestOfTheLatestPlaces) {
  for (std::size_t Alike : {4, 8, 20}) {
    const Bytes Before = NoiseAfterLikePieces(Alike);
    const Bytes Input = Joined({Before, Bytes(Before.begin(), Before.begin() + 200)});
    // A token, two bytes of offset and one of length.
    EXPECT_EQ(CompressBytes(Input).size(), CompressBytes(Before).size() + 4) << Alike << " bytes alike";
  }
}

TEST(ByteCompression, RefusesPackedBytesOfAnotherSizeOrCut) {
  for (const Case& Each : Cases()) {
    const Bytes Packed = CompressBytes(Each.Input);
    const std::size_t Size = Each.Input.size();
    Bytes Out;
    EXPECT_FALSE(Expand(Packed, Size + 1, Out)) << Each.Name;
    if (Size > 0) {
      EXPECT_FALSE(Expand(Packed, Size - 1, Out)) << Each.Name;
      EXPECT_FALSE(Expand(Packed, 0, Out)) << Each.Name;
    }
    // Cut anywhere: each prefix in a vector of its own length, so that a
    // read past it is one past the allocation.
    const std::size_t Step = std::max<std::size_t>(1, Packed.size() / 300);
    for (std::size_t Length = 0; Length < Packed.size(); Length += Step)
      EXPECT_FALSE(Expand(Bytes(Packed.begin(), Packed.begin() + static_cast<std::ptrdiff_t>(Length)), Size, Out))
          << Each.Name << " cut to " << Length;
  }
}

TEST(ByteCompression, RefusesCopiesFromBeforeTheStartAndLengthsPastTheEnd) {
  const struct {
    const char* Name;
    Bytes Packed;
    std::size_t Size;
  } Damaged[] = {
      {"nothing at all", {}, 0},
      {"a copy before any byte", {0x00, 0x01, 0x00, 0x00}, 4},
      {"a copy from before the start", {0x10, 'a', 0x02, 0x00, 0x00}, 5},
      {"a copy of offset 0", {0x10, 'a', 0x00, 0x00, 0x00}, 5},
      {"a copy with one offset byte", {0x10, 'a', 0x01}, 5},
      {"a copy longer than the rest", {0x10, 'a', 0x01, 0x00, 0x00}, 4},
      {"more literals than there are", {0x50, 'a', 'b'}, 5},
      {"a literal count cut off", {0xF0, 255, 255}, 600},
      {"a copy length cut off", {0x1F, 'a', 0x01, 0x00, 255}, 600},
      {"a copy that ends the bytes", {0x10, 'a', 0x01, 0x00}, 5},
      {"a short copy longer than the rest",
       {0xEE, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 0x01, 0x00, 0x00, 0x00}, 20},
  };
  for (const auto& Each : Damaged) {
    Bytes Out;
    EXPECT_FALSE(Expand(Each.Packed, Each.Size, Out)) << Each.Name;
    EXPECT_TRUE(ExpandsWithin(Each.Packed, Each.Size)) << Each.Name;
  }
}

// Damaged anywhere, packed bytes may still expand to something; never
// outside either span.
TEST(ByteCompression, NeverReadsOrWritesOutsideEitherSpanOnDamagedBytes) {
  const Bytes Input = Joined({Random(300, 6), Repeating(3, 200), Repeating(20, 300), Bytes(600, 1), Random(50, 7)});
  const Bytes Packed = CompressBytes(Input);
  std::mt19937 Generator(8);
  for (std::size_t At = 0; At < Packed.size(); ++At)
    for (const int Damage : {0x00, 0xFF, 0x0F, 0xF0, 0x01, 0x80}) {
      Bytes Changed = Packed;
      Changed[At] = static_cast<std::uint8_t>(Damage);
      if (Generator() % 2) {
        std::uint8_t& Other = Changed[Generator() % Changed.size()];
        Other = static_cast<std::uint8_t>(Other ^ Generator());
      }
      ASSERT_TRUE(ExpandsWithin(Changed, Input.size())) << "byte " << At << " damaged";
    }
}
