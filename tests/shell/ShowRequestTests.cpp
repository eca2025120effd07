#include "shell/ShowRequest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

// Exactly Text's code units in a heap block of their own, so that the
// sanitizers see any read past its end.
struct Block {
  explicit Block(const std::u16string& Text) : Bytes(new unsigned char[Text.size() * 2]), Size(Text.size() * 2) {
    std::memcpy(Bytes.get(), Text.data(), Size);
  }
  std::unique_ptr<unsigned char[]> Bytes;
  std::size_t Size;
};

TEST(ShowRequest, TheSendersBlockIsARequest) {
  EXPECT_EQ(ShowRequestBytes, 14u);
  EXPECT_TRUE(IsShowRequest(ShowRequestText, ShowRequestBytes));
}

TEST(ShowRequest, RecognisesOnlyTheExactTextBeforeTheFirstNul) {
  const struct {
    std::u16string Text;
    bool Expected;
  } Cases[] = {
      {std::u16string(u"/Show\0", 6), true},
      {std::u16string(u"/Show\0junk", 10), true},
      {std::u16string(u"/show\0", 6), false},
      {std::u16string(u"/Show!\0", 7), false},
      {std::u16string(u"/Sho\0", 5), false},
      {std::u16string(u"\0", 1), false},
      {u"/Show", false},  // no NUL within the block
      {u"/Show/Show/Show", false},
      {u"", false},
  };
  for (const auto& Case : Cases) {
    Block Data(Case.Text);
    EXPECT_EQ(IsShowRequest(Data.Bytes.get(), Data.Size), Case.Expected)
        << std::string(Case.Text.begin(), Case.Text.end());
  }
}

TEST(ShowRequest, ReadsOnlyWholeCodeUnitsWithinTheSize) {
  // An odd size leaves the NUL's second byte outside the block.
  Block Data(std::u16string(u"/Show\0", 6));
  EXPECT_FALSE(IsShowRequest(Data.Bytes.get(), Data.Size - 1));
  EXPECT_FALSE(IsShowRequest(nullptr, 14));
}

TEST(ShowRequest, ReadsAnUnalignedBlock) {
  std::vector<unsigned char> Bytes(ShowRequestBytes + 1);
  std::memcpy(Bytes.data() + 1, ShowRequestText, ShowRequestBytes);
  EXPECT_TRUE(IsShowRequest(Bytes.data() + 1, ShowRequestBytes));
}

}  // namespace
}  // namespace tarnwick
