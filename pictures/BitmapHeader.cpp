#include "pictures/BitmapHeader.h"

#include <algorithm>
#include <bit>

#include "pictures/LittleEndianBytes.h"
#include "pictures/PictureErrors.h"
#include "pictures/PremultipliedPixel.h"

namespace tarnwick {
namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

[[noreturn]] void Unsupported(const char* What) {
  throw EPictureError(std::string("対応していないビットマップ形式です (") + What + ")");
}

bool IsInfoHeaderSize(std::uint32_t Size) {
  return Size == InfoHeaderSize || Size == 52 || Size == 56 || Size == 108 || Size == 124;
}

TBitmapCompression CompressionOf(std::uint32_t Code) {
  switch (Code) {
    case 0: return TBitmapCompression::bcNone;
    case 1: return TBitmapCompression::bcRle8;
    case 2: return TBitmapCompression::bcRle4;
    case 3:  // BI_BITFIELDS
    case 6:  // BI_ALPHABITFIELDS
      return TBitmapCompression::bcBitFields;
  }
  Unsupported("圧縮形式");
}

bool IsValidBitCount(TBitmapCompression Compression, int BitCount) {
  switch (Compression) {
    case TBitmapCompression::bcNone:
      return BitCount == 1 || BitCount == 4 || BitCount == 8 || BitCount == 16 || BitCount == 24 || BitCount == 32;
    case TBitmapCompression::bcRle8: return BitCount == 8;
    case TBitmapCompression::bcRle4: return BitCount == 4;
    case TBitmapCompression::bcBitFields: return BitCount == 16 || BitCount == 32;
  }
  return false;
}

// The masks Windows assumes for uncompressed 16- and 32-bit pixels.
void SetDefaultMasks(TBitmapInfo& Info) {
  if (Info.BitCount == 16) {
    Info.Red = TChannelMask(0x7C00);
    Info.Green = TChannelMask(0x03E0);
    Info.Blue = TChannelMask(0x001F);
  } else {
    Info.Red = TChannelMask(0xFF0000);
    Info.Green = TChannelMask(0x00FF00);
    Info.Blue = TChannelMask(0x0000FF);
  }
}

// Reads the masks at Offset; returns the offset just after those read.
std::size_t ReadMasks(std::span<const std::uint8_t> Bytes, std::size_t Offset, int Count, TBitmapInfo& Info) {
  Info.Red = TChannelMask(ReadUInt32(Bytes, Offset));
  Info.Green = TChannelMask(ReadUInt32(Bytes, Offset + 4));
  Info.Blue = TChannelMask(ReadUInt32(Bytes, Offset + 8));
  if (Count == 4) Info.Alpha = TChannelMask(ReadUInt32(Bytes, Offset + 12));
  return Offset + 4 * static_cast<std::size_t>(Count);
}

void ReadPalette(std::span<const std::uint8_t> Bytes, std::size_t Offset, std::size_t EntrySize,
                 std::uint32_t ColorsUsed, TBitmapInfo& Info) {
  const std::uint32_t Full = 1u << Info.BitCount;
  const std::uint32_t Count = ColorsUsed == 0 ? Full : std::min(ColorsUsed, Full);
  RequireBytes(Bytes, Offset, Count * EntrySize);
  Info.Palette.fill(OpaquePixel(0, 0, 0));
  for (std::uint32_t I = 0; I < Count; ++I) {
    const std::uint8_t* Entry = Bytes.data() + Offset + I * EntrySize;
    Info.Palette[I] = OpaquePixel(Entry[2], Entry[1], Entry[0]);
  }
}

}  // namespace

TChannelMask::TChannelMask(std::uint32_t Mask) : FMask(Mask) {
  if (Mask == 0) return;
  FShift = std::countr_zero(Mask);
  FBits = std::popcount(Mask);
  if (FBits != 32 - FShift - std::countl_zero(Mask)) Unsupported("不連続な色マスク");
}

std::uint32_t TChannelMask::Value(std::uint32_t Pixel) const {
  if (FBits == 0) return 0;
  const std::uint32_t Raw = (Pixel & FMask) >> FShift;
  if (FBits >= 8) return Raw >> (FBits - 8);
  const std::uint32_t Max = (1u << FBits) - 1;
  return (Raw * 255 + Max / 2) / Max;
}

TBitmapInfo ReadBitmapHeader(std::span<const std::uint8_t> Bytes, const TPictureLimits& Limits) {
  if (Bytes.size() < 2 || Bytes[0] != 'B' || Bytes[1] != 'M')
    throw EPictureError("ビットマップ ファイルではありません");
  TBitmapInfo Info;
  Info.PixelOffset = ReadUInt32(Bytes, 10);
  const std::uint32_t HeaderSize = ReadUInt32(Bytes, FileHeaderSize);
  const std::size_t HeaderEnd = FileHeaderSize + HeaderSize;
  std::int64_t Width = 0;
  std::int64_t Height = 0;
  std::uint32_t ColorsUsed = 0;
  std::uint32_t CompressionCode = 0;
  std::size_t EntrySize = 4;
  if (HeaderSize == CoreHeaderSize) {
    Width = ReadUInt16(Bytes, 18);
    Height = ReadUInt16(Bytes, 20);
    Info.BitCount = ReadUInt16(Bytes, 24);
    EntrySize = 3;
  } else if (IsInfoHeaderSize(HeaderSize)) {
    RequireBytes(Bytes, FileHeaderSize, HeaderSize);
    Width = static_cast<std::int32_t>(ReadUInt32(Bytes, 18));
    Height = static_cast<std::int32_t>(ReadUInt32(Bytes, 22));
    Info.BitCount = ReadUInt16(Bytes, 28);
    CompressionCode = ReadUInt32(Bytes, 30);
    ColorsUsed = ReadUInt32(Bytes, 46);
  } else {
    Unsupported("ヘッダー");
  }
  Info.Compression = CompressionOf(CompressionCode);
  if (!IsValidBitCount(Info.Compression, Info.BitCount)) Unsupported("ピクセルのビット数");
  Info.TopDown = Height < 0;
  if (Info.TopDown && Info.Compression != TBitmapCompression::bcNone &&
      Info.Compression != TBitmapCompression::bcBitFields)
    throw EPictureError(DamagedReason("上から下へ並ぶ圧縮ビットマップ"));
  CheckRasterSize(Width, Info.TopDown ? -Height : Height, Limits);
  Info.Width = static_cast<int>(Width);
  Info.Height = static_cast<int>(Info.TopDown ? -Height : Height);

  std::size_t PaletteStart = HeaderEnd;
  if (Info.Compression == TBitmapCompression::bcBitFields) {
    const int MaskCount = CompressionCode == 6 || HeaderSize >= 56 ? 4 : 3;
    const std::size_t MaskEnd = ReadMasks(Bytes, FileHeaderSize + InfoHeaderSize, MaskCount, Info);
    PaletteStart = std::max(HeaderEnd, MaskEnd);
  } else if (Info.BitCount > 8) {
    SetDefaultMasks(Info);
  }
  if (Info.BitCount <= 8) ReadPalette(Bytes, PaletteStart, EntrySize, ColorsUsed, Info);
  if (Info.PixelOffset >= Bytes.size()) throw EPictureError(DamagedReason("途中で切れています"));
  return Info;
}

}  // namespace tarnwick
