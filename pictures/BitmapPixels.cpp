#include "pictures/BitmapPixels.h"

#include "pictures/LittleEndianBytes.h"
#include "pictures/PremultipliedPixel.h"

namespace tarnwick {
namespace {

std::uint32_t MaskedPixel(const TBitmapInfo& Info, std::uint32_t Raw) {
  const std::uint32_t Alpha = Info.Alpha.Present() ? Info.Alpha.Value(Raw) : 255;
  return PremultipliedPixel(Info.Red.Value(Raw), Info.Green.Value(Raw), Info.Blue.Value(Raw), Alpha);
}

std::uint32_t PixelInRow(const std::uint8_t* Row, std::size_t X, const TBitmapInfo& Info) {
  switch (Info.BitCount) {
    case 1: return Info.Palette[Row[X / 8] >> (7 - X % 8) & 1];
    case 4: return Info.Palette[Row[X / 2] >> (X % 2 ? 0 : 4) & 0xF];
    case 8: return Info.Palette[Row[X]];
    case 16: return MaskedPixel(Info, Row[2 * X] | Row[2 * X + 1] << 8);
    case 24: return OpaquePixel(Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]);
    default: {
      const std::uint8_t* P = Row + 4 * X;
      return MaskedPixel(Info, static_cast<std::uint32_t>(P[0] | P[1] << 8 | P[2] << 16) |
                                   static_cast<std::uint32_t>(P[3]) << 24);
    }
  }
}

// Where run-length data puts its pixels: rows counted from the bottom, and
// anything outside the picture dropped.
class TRunCursor {
 public:
  TRunCursor(TPictureFrame& Frame, const TBitmapInfo& Info) : FFrame(Frame), FPalette(Info.Palette) {}

  void Put(std::uint8_t Index) {
    if (FX < FFrame.Width && FY < FFrame.Height)
      FFrame.Pixels[static_cast<std::size_t>((FFrame.Height - 1 - FY) * FFrame.Width + FX)] = FPalette[Index];
    ++FX;
  }
  void NextLine() {
    FX = 0;
    ++FY;
  }
  void Move(int Right, int Up) {
    FX += Right;
    FY += Up;
  }
  bool PastTheTop() const { return FY >= FFrame.Height; }

 private:
  TPictureFrame& FFrame;
  const std::array<std::uint32_t, 256>& FPalette;
  // Wide enough for any number of runs in one line.
  std::int64_t FX = 0;
  std::int64_t FY = 0;
};

// The I-th index of a run: a byte each in RLE8, a nibble each (high one
// first) in RLE4.
std::uint8_t RunIndex(const std::uint8_t* Data, std::size_t I, bool Nibbles) {
  if (!Nibbles) return Data[I];
  return I % 2 ? Data[I / 2] & 0xF : Data[I / 2] >> 4;
}

}  // namespace

TPictureFrame DecodeBitmapRows(std::span<const std::uint8_t> Bytes, const TBitmapInfo& Info) {
  const std::uint64_t RowBits = static_cast<std::uint64_t>(Info.Width) * Info.BitCount;
  const std::uint64_t Stride = (RowBits + 31) / 32 * 4;
  // The last row's padding may be missing: every pixel is still there.
  RequireBytes(Bytes, Info.PixelOffset, Stride * (Info.Height - 1) + (RowBits + 7) / 8);
  TPictureFrame Frame{Info.Width, Info.Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Info.Width) * Info.Height), 0};
  for (int Y = 0; Y < Info.Height; ++Y) {
    // Within the bytes, as checked above, so within a size_t in any build.
    const std::uint8_t* Row = Bytes.data() + Info.PixelOffset + static_cast<std::size_t>(Y * Stride);
    const int OutRow = Info.TopDown ? Y : Info.Height - 1 - Y;
    std::uint32_t* Out = Frame.Pixels.data() + static_cast<std::size_t>(OutRow) * Info.Width;
    for (int X = 0; X < Info.Width; ++X) Out[X] = PixelInRow(Row, X, Info);
  }
  return Frame;
}

TPictureFrame DecodeBitmapRuns(std::span<const std::uint8_t> Bytes, const TBitmapInfo& Info) {
  const bool Nibbles = Info.Compression == TBitmapCompression::bcRle4;
  TPictureFrame Frame{Info.Width, Info.Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Info.Width) * Info.Height), 0};
  TRunCursor Cursor(Frame, Info);
  std::size_t P = Info.PixelOffset;
  while (!Cursor.PastTheTop()) {
    RequireBytes(Bytes, P, 2);
    const std::uint8_t Count = Bytes[P];
    const std::uint8_t Code = Bytes[P + 1];
    P += 2;
    if (Count > 0) {
      // Encoded mode: Count pixels repeating the index (RLE8) or the index pair (RLE4) in Code.
      for (std::size_t I = 0; I < Count; ++I) Cursor.Put(Nibbles ? RunIndex(&Code, I % 2, true) : Code);
    } else if (Code == 0) {
      Cursor.NextLine();
    } else if (Code == 1) {
      break;
    } else if (Code == 2) {
      RequireBytes(Bytes, P, 2);
      Cursor.Move(Bytes[P], Bytes[P + 1]);
      P += 2;
    } else {
      // Absolute mode: Code indexes follow, padded to a whole 16-bit word.
      const std::size_t Length = Nibbles ? (Code + 1u) / 2 : Code;
      RequireBytes(Bytes, P, Length);
      for (std::size_t I = 0; I < Code; ++I) Cursor.Put(RunIndex(Bytes.data() + P, I, Nibbles));
      P += Length + Length % 2;
    }
  }
  return Frame;
}

}  // namespace tarnwick
