#include "pictures/GifReader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "pictures/PictureErrors.h"
#include "pictures/PremultipliedPixel.h"

namespace tarnwick {
namespace {

// Browsers show frames that ask for 10 ms or less for 100 ms; animations
// are made to look right there.
constexpr int ShortestDelayCs = 2;

std::string ErrorText(int Error) {
  // Reading from memory fails only where the data ends: the file is cut short.
  if (Error == D_GIF_ERR_READ_FAILED) return DamagedReason("途中で切れています");
  const char* Text = GifErrorString(Error);
  return Text ? Text : "GIF error " + std::to_string(Error);
}

TGifFrameControl ControlOf(const GraphicsControlBlock& Block) {
  TGifFrameControl Control;
  if (Block.DisposalMode == DISPOSE_BACKGROUND) Control.Disposal = TGifDisposal::gdBackground;
  if (Block.DisposalMode == DISPOSE_PREVIOUS) Control.Disposal = TGifDisposal::gdPrevious;
  Control.TransparentIndex = Block.TransparentColor;
  if (Block.DelayTime >= ShortestDelayCs) Control.DelayMs = Block.DelayTime * 10;
  return Control;
}

bool IsLoopExtension(const GifByteType* Block) {
  return Block[0] == 11 && (std::memcmp(Block + 1, "NETSCAPE2.0", 11) == 0 ||
                            std::memcmp(Block + 1, "ANIMEXTS1.0", 11) == 0);
}

// The loop count in the extension counts repeats after the first run.
int RunsOf(const GifByteType* SubBlock) {
  const int Repeats = SubBlock[2] | SubBlock[3] << 8;
  return Repeats == 0 ? 0 : Repeats + 1;
}

std::array<std::uint32_t, 256> ColorsOf(const ColorMapObject& Map, int TransparentIndex) {
  std::array<std::uint32_t, 256> Colors{};
  const int Count = std::min(Map.ColorCount, 256);
  for (int I = 0; I < Count; ++I)
    Colors[I] = OpaquePixel(Map.Colors[I].Red, Map.Colors[I].Green, Map.Colors[I].Blue);
  if (TransparentIndex >= 0 && TransparentIndex < 256) Colors[TransparentIndex] = 0;
  return Colors;
}

// The order in which an image's rows are stored: as they stand, or in the
// four passes of interlacing.
std::vector<int> RowOrder(int Height, bool Interlaced) {
  std::vector<int> Rows;
  Rows.reserve(static_cast<std::size_t>(Height));
  if (!Interlaced) {
    for (int Y = 0; Y < Height; ++Y) Rows.push_back(Y);
    return Rows;
  }
  constexpr int Starts[] = {0, 4, 2, 1};
  constexpr int Steps[] = {8, 8, 4, 2};
  for (int Pass = 0; Pass < 4; ++Pass)
    for (int Y = Starts[Pass]; Y < Height; Y += Steps[Pass]) Rows.push_back(Y);
  return Rows;
}

}  // namespace

TGifReader::TGifReader(std::span<const std::uint8_t> Bytes) : FSource{Bytes} {
  int Error = 0;
  FGif = DGifOpen(&FSource, Read, &Error);
  if (!FGif) throw EPictureError(ErrorText(Error));
}

TGifReader::~TGifReader() { DGifCloseFile(FGif, nullptr); }

int TGifReader::Read(GifFileType* Gif, GifByteType* Out, int Count) {
  auto& From = *static_cast<TSource*>(Gif->UserData);
  const std::size_t Taken =
      std::min(static_cast<std::size_t>(std::max(Count, 0)), From.Bytes.size() - std::min(From.Position, From.Bytes.size()));
  std::copy_n(From.Bytes.begin() + static_cast<std::ptrdiff_t>(From.Position), Taken, Out);
  From.Position += Taken;
  return static_cast<int>(Taken);
}

void TGifReader::Check(int Result) const {
  if (Result == GIF_ERROR) Fail();
}

void TGifReader::Fail() const { throw EPictureError(ErrorText(FGif->Error)); }

void ReadExtension(const TGifReader& Reader, TGifFrameControl& Control, int& LoopCount) {
  int Code = 0;
  GifByteType* Block = nullptr;
  Reader.Check(DGifGetExtension(Reader.Get(), &Code, &Block));
  GraphicsControlBlock Graphics;
  if (Code == GRAPHICS_EXT_FUNC_CODE && Block && DGifExtensionToGCB(Block[0], Block + 1, &Graphics) == GIF_OK)
    Control = ControlOf(Graphics);
  bool Looping = Code == APPLICATION_EXT_FUNC_CODE && Block && IsLoopExtension(Block);
  while (Block) {
    Reader.Check(DGifGetExtensionNext(Reader.Get(), &Block));
    if (Looping && Block && Block[0] >= 3 && Block[1] == 1) {
      LoopCount = RunsOf(Block);
      Looping = false;
    }
  }
}

void ReadImage(const TGifReader& Reader, const TGifFrameControl& Control, TGifFrameImage& Image) {
  const GifImageDesc& Desc = Reader->Image;
  const ColorMapObject* Map = Desc.ColorMap ? Desc.ColorMap : Reader->SColorMap;
  if (!Map) throw EPictureError(DamagedReason("色表がありません"));
  Image.Left = Desc.Left;
  Image.Top = Desc.Top;
  Image.Width = Desc.Width;
  Image.Height = Desc.Height;
  Image.Indexes.resize(static_cast<std::size_t>(Desc.Width) * Desc.Height);
  Image.Colors = ColorsOf(*Map, Control.TransparentIndex);
  Image.Disposal = Control.Disposal;
  for (int Y : RowOrder(Desc.Height, Desc.Interlace))
    Reader.Check(DGifGetLine(Reader.Get(), Image.Indexes.data() + static_cast<std::size_t>(Y) * Desc.Width, Desc.Width));
}

}  // namespace tarnwick
