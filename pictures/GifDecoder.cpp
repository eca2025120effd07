#include "GifDecoder.h"

#include <algorithm>
#include <cstring>

#include <gif_lib.h>

#include "AreaReduction.h"
#include "GifCanvas.h"
#include "PictureErrors.h"
#include "PremultipliedPixel.h"

namespace tarnwick {
namespace {

// Browsers show frames that ask for 10 ms or less for 100 ms; animations
// are made to look right there.
constexpr int ShortestDelayCs = 2;
constexpr int StandInDelayMs = 100;

struct MemorySource {
  std::span<const std::uint8_t> Bytes;
  std::size_t Position = 0;
  bool AtEnd() const { return Position == Bytes.size(); }
};

int ReadFromMemory(GifFileType* Gif, GifByteType* Out, int Count) {
  auto& Source = *static_cast<MemorySource*>(Gif->UserData);
  const std::size_t Taken = std::min(static_cast<std::size_t>(std::max(Count, 0)), Source.Bytes.size() - Source.Position);
  std::copy_n(Source.Bytes.begin() + static_cast<std::ptrdiff_t>(Source.Position), Taken, Out);
  Source.Position += Taken;
  return static_cast<int>(Taken);
}

class GifReader {
 public:
  explicit GifReader(MemorySource& Source) {
    int Error = 0;
    Gif_ = DGifOpen(&Source, ReadFromMemory, &Error);
    if (!Gif_) throw EPictureError(ErrorText(Error));
  }
  ~GifReader() { DGifCloseFile(Gif_, nullptr); }
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;

  GifFileType* operator->() const { return Gif_; }
  GifFileType* Get() const { return Gif_; }

  void Check(int Result) const {
    if (Result == GIF_ERROR) Fail();
  }
  [[noreturn]] void Fail() const { throw EPictureError(ErrorText(Gif_->Error)); }

 private:
  static std::string ErrorText(int Error) {
    // Reading from memory fails only where the data ends: the file is cut short.
    if (Error == D_GIF_ERR_READ_FAILED) return DamagedReason("途中で切れています");
    const char* Text = GifErrorString(Error);
    return Text ? Text : "GIF error " + std::to_string(Error);
  }
  GifFileType* Gif_ = nullptr;
};

// What the last graphic control extension asks of the next frame.
struct FrameControl {
  GifDisposal Disposal = GifDisposal::gdKeep;
  int TransparentIndex = NO_TRANSPARENT_COLOR;
  int DelayMs = StandInDelayMs;
};

FrameControl ControlOf(const GraphicsControlBlock& Block) {
  FrameControl Control;
  if (Block.DisposalMode == DISPOSE_BACKGROUND) Control.Disposal = GifDisposal::gdBackground;
  if (Block.DisposalMode == DISPOSE_PREVIOUS) Control.Disposal = GifDisposal::gdPrevious;
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

void ReadExtension(const GifReader& Reader, FrameControl& Control, int& LoopCount) {
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

GifFrameImage ReadImage(const GifReader& Reader, const FrameControl& Control, const PictureLimits& Limits) {
  const GifImageDesc& Desc = Reader->Image;
  CheckRasterSize(Desc.Width, Desc.Height, Limits);
  const ColorMapObject* Map = Desc.ColorMap ? Desc.ColorMap : Reader->SColorMap;
  if (!Map) throw EPictureError(DamagedReason("色表がありません"));
  GifFrameImage Image;
  Image.Left = Desc.Left;
  Image.Top = Desc.Top;
  Image.Width = Desc.Width;
  Image.Height = Desc.Height;
  Image.Indexes.resize(static_cast<std::size_t>(Desc.Width) * Desc.Height);
  Image.Colors = ColorsOf(*Map, Control.TransparentIndex);
  Image.Disposal = Control.Disposal;
  for (int Y : RowOrder(Desc.Height, Desc.Interlace))
    Reader.Check(DGifGetLine(Reader.Get(), Image.Indexes.data() + static_cast<std::size_t>(Y) * Desc.Width, Desc.Width));
  return Image;
}

}  // namespace

Picture DecodeGif(std::span<const std::uint8_t> Bytes, int MaxLongSide, const PictureLimits& Limits) {
  MemorySource Source{Bytes};
  GifReader Reader(Source);
  const int Width = Reader->SWidth;
  const int Height = Reader->SHeight;
  CheckRasterSize(Width, Height, Limits);
  const RasterSize Kept = KeptSize(Width, Height, MaxLongSide);
  GifCanvas Canvas(Width, Height);
  FrameControl Control;
  Picture Result{Width, Height, {}, 1};
  for (;;) {
    GifRecordType Type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(Reader.Get(), &Type) == GIF_ERROR) {
      if (Source.AtEnd() && !Result.Empty()) break;
      Reader.Fail();
    }
    if (Type == TERMINATE_RECORD_TYPE) break;
    if (Type == EXTENSION_RECORD_TYPE) {
      ReadExtension(Reader, Control, Result.LoopCount);
    } else if (Type == IMAGE_DESC_RECORD_TYPE) {
      CheckAnimationSize(Result.Frames.size() + 1, Width, Height, Kept.Width, Kept.Height, Limits);
      Reader.Check(DGifGetImageDesc(Reader.Get()));
      Canvas.Draw(ReadImage(Reader, Control, Limits));
      Result.Frames.push_back(FittedFrame(Canvas.Pixels(), Width, Height, MaxLongSide));
      Result.Frames.back().DelayMs = Control.DelayMs;
      // A graphic control extension governs the one image after it.
      Control = FrameControl{};
    }
  }
  if (Result.Empty()) throw EPictureError(DamagedReason("画像がありません"));
  return Result;
}

}  // namespace tarnwick
