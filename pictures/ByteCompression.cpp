#include "pictures/ByteCompression.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// The bytes are sequences, each a token byte, literal bytes and a copy:
//   token        literal count (15: more follows) << 4 | copy length - 4 (15: more follows)
//   [count]      the literal count less 15, in bytes of 255 and one below 255
//   literals
//   offset       two bytes, low first: how far back the copy starts, 1 to 65535
//   [length]     the copy length less 19, as the count
// The last sequence holds literals only and ends the bytes.
namespace tarnwick {
namespace {

constexpr std::size_t ShortestCopy = 4;
constexpr std::size_t FarthestCopy = 65535;
// A nibble of this value says that the length goes on after the token.
constexpr unsigned LongLength = 15;
constexpr int HashBits = 14;
// How many of the latest places of each hash are kept, newest first; the
// longest copy from any of them is taken. Colour indexes of dithered
// pictures repeat in short pieces, and the newest place is often not the
// best: with four rather than one, such a frame packs 9 % smaller into 11 %
// fewer copies and expands a quarter faster, for packing in about twice the
// time.
constexpr std::size_t Ways = 4;

// How many bytes A and B have alike from their starts, up to Limit.
std::size_t AlikeLength(const std::uint8_t* A, const std::uint8_t* B, std::size_t Limit) {
  static_assert(std::endian::native == std::endian::little, "the first unlike byte is the lowest");
  std::size_t Length = 0;
  for (; Length + 8 <= Limit; Length += 8) {
    std::uint64_t Ours, Theirs;
    std::memcpy(&Ours, A + Length, 8);
    std::memcpy(&Theirs, B + Length, 8);
    if (Ours != Theirs) return Length + static_cast<std::size_t>(std::countr_zero(Ours ^ Theirs) / 8);
  }
  while (Length < Limit && A[Length] == B[Length]) ++Length;
  return Length;
}

std::uint32_t HashAt(const std::uint8_t* At) {
  std::uint32_t Word;
  std::memcpy(&Word, At, sizeof Word);
  return (Word * 2654435761u) >> (32 - HashBits);
}

struct TCopy {
  std::size_t Start = 0;
  std::size_t Length = 0;
  std::size_t Offset = 0;

  std::size_t End() const { return Start + Length; }
};

class TCompressor {
 public:
  explicit TCompressor(std::span<const std::uint8_t> Bytes)
      : FIn(Bytes), FSeen((std::size_t{1} << HashBits) * Ways, -1) {
    FOut.reserve(Bytes.size() / 2 + 16);
  }

  std::vector<std::uint8_t> Run() {
    std::size_t At = 0;
    while (At + ShortestCopy <= FIn.size()) {
      TCopy Found = FindAt(At);
      if (Found.Length == 0) {
        ++At;
        continue;
      }
      // A copy found one byte later may reach further: take that one then.
      const TCopy Later = FindAt(At + 1);
      if (Later.Length > 0 && Later.End() > Found.End() + 1) Found = Later;
      Put(Found);
      At = FLiterals = Found.End();
    }
    Put({FIn.size(), 0, 0});
    return std::move(FOut);
  }

 private:
  // The copy of earlier bytes that the bytes at At begin, reaching back over
  // the literals not yet written: the longest from the latest places of
  // their hash, each of which must reach past the end of the best before it;
  // of length 0 when there is none.
  TCopy FindAt(std::size_t At) {
    if (At + ShortestCopy > FIn.size()) return {};
    std::int32_t* const Places = &FSeen[HashAt(FIn.data() + At) * Ways];
    TCopy Best;
    for (std::size_t Way = 0; Way < Ways && Places[Way] >= 0; ++Way) {
      const auto From = static_cast<std::size_t>(Places[Way]);
      // The older places are farther still.
      if (At - From > FarthestCopy) break;
      const TCopy Found = CopyFrom(From, At, Best);
      if (Found.Length > Best.Length) Best = Found;
    }
    std::copy_backward(Places, Places + Ways - 1, Places + Ways);
    Places[0] = static_cast<std::int32_t>(At);
    return Best;
  }

  // The copy from From of the bytes at At, grown both ways; of length 0 when
  // there is none, or when it cannot reach past the end of Best.
  TCopy CopyFrom(std::size_t From, std::size_t At, const TCopy& Best) const {
    const std::uint8_t* Bytes = FIn.data();
    if (std::memcmp(Bytes + From, Bytes + At, ShortestCopy) != 0) return {};
    if (Best.Length > 0 && (Best.End() == FIn.size() || Bytes[Best.End()] != Bytes[From + (Best.End() - At)]))
      return {};
    const std::size_t Past = At + ShortestCopy;
    const std::size_t End = Past + AlikeLength(Bytes + Past, Bytes + From + ShortestCopy, FIn.size() - Past);
    std::size_t Start = At;
    for (std::size_t Back = From; Start > FLiterals && Back > 0 && Bytes[Start - 1] == Bytes[Back - 1]; --Back) --Start;
    return {Start, End - Start, At - From};
  }

  void PutLength(std::size_t Rest) {
    for (; Rest >= 255; Rest -= 255) FOut.push_back(255);
    FOut.push_back(static_cast<std::uint8_t>(Rest));
  }

  // The literals before Found, and Found unless it is of length 0.
  void Put(const TCopy& Found) {
    const std::size_t Count = Found.Start - FLiterals;
    const std::size_t CopyLength = Found.Length > 0 ? Found.Length - ShortestCopy : 0;
    FOut.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(Count, LongLength) << 4 |
                                             std::min<std::size_t>(CopyLength, LongLength)));
    if (Count >= LongLength) PutLength(Count - LongLength);
    FOut.insert(FOut.end(), FIn.begin() + static_cast<std::ptrdiff_t>(FLiterals),
                FIn.begin() + static_cast<std::ptrdiff_t>(Found.Start));
    if (Found.Length == 0) return;
    FOut.push_back(static_cast<std::uint8_t>(Found.Offset));
    FOut.push_back(static_cast<std::uint8_t>(Found.Offset >> 8));
    if (CopyLength >= LongLength) PutLength(CopyLength - LongLength);
  }

  std::span<const std::uint8_t> FIn;
  // The latest places of each hash of four bytes, Ways to a hash.
  std::vector<std::int32_t> FSeen;
  std::vector<std::uint8_t> FOut;
  // The first byte not yet written.
  std::size_t FLiterals = 0;
};

// Adds the bytes that go on after a nibble of LongLength; false when the
// bytes end first.
bool ReadLength(const std::uint8_t*& In, const std::uint8_t* End, std::size_t& Length) {
  if (Length != LongLength) return true;
  std::uint8_t Byte = 255;
  while (Byte == 255) {
    if (In == End) return false;
    Byte = *In++;
    Length += Byte;
  }
  return true;
}

// 0 when the bytes end first.
std::size_t ReadOffset(const std::uint8_t*& In, const std::uint8_t* End) {
  if (End - In < 2) return 0;
  const std::size_t Offset = In[0] | std::size_t{In[1]} << 8;
  In += 2;
  return Offset;
}

// Puts Length bytes from Offset back at To, ending at most at ToEnd; the end
// of the copy. Away from ToEnd it goes in blocks of eight, the last of which
// may write up to seven bytes past the copy, for later bytes to write over.
// Bytes repeated from fewer than eight back are laid one by one for eight
// bytes first: from then on they also repeat at a multiple of Offset of at
// least eight.
std::uint8_t* PutCopy(std::uint8_t* To, std::size_t Offset, std::size_t Length, std::uint8_t* ToEnd) {
  std::uint8_t* const End = To + Length;
  if (ToEnd - End < 8) {
    for (const std::uint8_t* From = To - Offset; To < End;) *To++ = *From++;
    return End;
  }
  if (Offset < 8) {
    for (int I = 0; I < 8; ++I) To[I] = To[I - static_cast<std::ptrdiff_t>(Offset)];
    To += 8;
    Offset *= (Offset + 7) / Offset;
  }
  for (; To < End; To += 8) std::memcpy(To, To - Offset, 8);
  return End;
}

}  // namespace

std::vector<std::uint8_t> CompressBytes(std::span<const std::uint8_t> Bytes) { return TCompressor(Bytes).Run(); }

// One function with its state in locals: stores through byte pointers could
// otherwise change any member, which the compiler would then read again.
bool ExpandBytes(std::span<const std::uint8_t> Packed, std::span<std::uint8_t> Out) {
  const std::uint8_t* In = Packed.data();
  const std::uint8_t* const InEnd = In + Packed.size();
  std::uint8_t* const Begin = Out.data();
  std::uint8_t* To = Begin;
  std::uint8_t* const ToEnd = To + Out.size();
  while (In != InEnd) {
    const unsigned Token = *In++;
    std::size_t Count = Token >> 4;
    std::size_t Length = Token & 0x0F;
    // Short literals and copies far from both ends take copies of fixed
    // sizes, which compile to a few moves; what they write past the
    // sequence, later sequences write over.
    if (Count < LongLength && Length < LongLength && InEnd - In >= 18 && ToEnd - To >= 32) {
      std::memcpy(To, In, 16);
      To += Count;
      In += Count;
      const std::size_t Offset = ReadOffset(In, InEnd);
      if (Offset == 0 || Offset > static_cast<std::size_t>(To - Begin)) return false;
      if (Offset >= 8) {
        std::memcpy(To, To - Offset, 8);
        std::memcpy(To + 8, To + 8 - Offset, 8);
        std::memcpy(To + 16, To + 16 - Offset, 2);
        To += Length + ShortestCopy;
      } else {
        To = PutCopy(To, Offset, Length + ShortestCopy, ToEnd);
      }
      continue;
    }
    if (!ReadLength(In, InEnd, Count)) return false;
    if (Count > static_cast<std::size_t>(InEnd - In) || Count > static_cast<std::size_t>(ToEnd - To)) return false;
    // Not memcpy: an empty Out may have no address.
    std::copy_n(In, Count, To);
    To += Count;
    In += Count;
    if (In == InEnd) return To == ToEnd;
    const std::size_t Offset = ReadOffset(In, InEnd);
    if (Offset == 0 || Offset > static_cast<std::size_t>(To - Begin) || !ReadLength(In, InEnd, Length)) return false;
    Length += ShortestCopy;
    if (Length > static_cast<std::size_t>(ToEnd - To)) return false;
    To = PutCopy(To, Offset, Length, ToEnd);
  }
  return false;
}

}  // namespace tarnwick
