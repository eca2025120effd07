#include "support/PictureEncoders.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace picture_tests {
namespace {

int AppendToBytes(GifFileType* Gif, const GifByteType* Data, int Count) {
  auto& Out = *static_cast<Bytes*>(Gif->UserData);
  Out.insert(Out.end(), Data, Data + Count);
  return Count;
}

void Require(bool Succeeded, const char* What) {
  if (!Succeeded) throw std::runtime_error(What);
}

void PutLoopExtension(GifFileType* Gif, int Repeats) {
  const GifByteType Loop[3] = {1, static_cast<GifByteType>(Repeats & 0xFF), static_cast<GifByteType>(Repeats >> 8)};
  Require(EGifPutExtensionLeader(Gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
              EGifPutExtensionBlock(Gif, 11, "NETSCAPE2.0") == GIF_OK && EGifPutExtensionBlock(Gif, 3, Loop) == GIF_OK &&
              EGifPutExtensionTrailer(Gif) == GIF_OK,
          "loop extension");
}

void PutFrame(GifFileType* Gif, const GifFrameLayout& Frame) {
  GraphicsControlBlock Control{Frame.Disposal, false, Frame.DelayCs, Frame.TransparentIndex};
  GifByteType Extension[4];
  const std::size_t Length = EGifGCBToExtension(&Control, Extension);
  Require(EGifPutExtension(Gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(Length), Extension) == GIF_OK, "control");
  Require(EGifPutImageDesc(Gif, Frame.Left, Frame.Top, Frame.Width, Frame.Height, Frame.Interlaced, nullptr) ==
              GIF_OK,
          "image descriptor");
  // An interlaced image stores its rows in four passes.
  std::vector<int> Rows;
  if (Frame.Interlaced) {
    for (const auto& [Start, Step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
      for (int Y = Start; Y < Frame.Height; Y += Step) Rows.push_back(Y);
  } else {
    for (int Y = 0; Y < Frame.Height; ++Y) Rows.push_back(Y);
  }
  for (int Y : Rows) {
    std::vector<GifPixelType> Line(Frame.Indexes.begin() + Y * Frame.Width,
                                   Frame.Indexes.begin() + (Y + 1) * Frame.Width);
    Require(EGifPutLine(Gif, Line.data(), Frame.Width) == GIF_OK, "line");
  }
}

}  // namespace

Bytes EncodeJpeg(const RgbaImage& Image, int Quality) {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Errors{};
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_compress(&Info);
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = static_cast<JDIMENSION>(Image.Width);
  Info.image_height = static_cast<JDIMENSION>(Image.Height);
  Info.input_components = 4;
  Info.in_color_space = JCS_EXT_RGBX;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality, TRUE);
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    auto* Row = const_cast<JSAMPROW>(Image.Rgba.data() + static_cast<std::size_t>(Info.next_scanline) * Image.Width * 4);
    jpeg_write_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  Bytes Result(Buffer, Buffer + Size);
  std::free(Buffer);
  return Result;
}

Bytes EncodePng(const RgbaImage& Image) {
  png_image Png{};
  Png.version = PNG_IMAGE_VERSION;
  Png.width = static_cast<png_uint_32>(Image.Width);
  Png.height = static_cast<png_uint_32>(Image.Height);
  Png.format = PNG_FORMAT_RGBA;
  png_alloc_size_t Size = 0;
  Require(png_image_write_get_memory_size(Png, Size, 0, Image.Rgba.data(), 0, nullptr), "png size");
  Bytes Result(Size);
  Require(png_image_write_to_memory(&Png, Result.data(), &Size, 0, Image.Rgba.data(), 0, nullptr), "png");
  Result.resize(Size);
  return Result;
}

Bytes EncodeGif(int Width, int Height, const GifPalette& Palette, const std::vector<GifFrameLayout>& Frames,
                std::optional<int> LoopRepeats) {
  Bytes Result;
  int Error = 0;
  GifFileType* Gif = EGifOpen(&Result, AppendToBytes, &Error);
  Require(Gif != nullptr, "gif open");
  EGifSetGifVersion(Gif, true);
  int Bits = 1;
  while ((1u << Bits) < Palette.size()) ++Bits;
  ColorMapObject* Map = GifMakeMapObject(1 << Bits, nullptr);
  for (std::size_t I = 0; I < Palette.size(); ++I) Map->Colors[I] = {Palette[I][0], Palette[I][1], Palette[I][2]};
  Require(EGifPutScreenDesc(Gif, Width, Height, Bits, 0, Map) == GIF_OK, "screen");
  GifFreeMapObject(Map);
  if (LoopRepeats) PutLoopExtension(Gif, *LoopRepeats);
  for (const GifFrameLayout& Frame : Frames) PutFrame(Gif, Frame);
  Require(EGifCloseFile(Gif, &Error) == GIF_OK, "gif close");
  return Result;
}

GifFrameLayout FilledGifFrame(int Left, int Top, int Width, int Height, std::uint8_t Index) {
  GifFrameLayout Frame;
  Frame.Left = Left;
  Frame.Top = Top;
  Frame.Width = Width;
  Frame.Height = Height;
  Frame.Indexes.assign(static_cast<std::size_t>(Width) * Height, Index);
  return Frame;
}

namespace {

// A Width x Height frame of indexes 1 to 4 in diagonal stripes.
GifFrameLayout StripedGifFrame(int Width, int Height, int Shift, int Disposal) {
  GifFrameLayout Frame = FilledGifFrame(0, 0, Width, Height, 1);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      Frame.Indexes[static_cast<std::size_t>(Y) * Width + X] = static_cast<std::uint8_t>(1 + (X + Y + Shift) / 2 % 4);
  Frame.Disposal = Disposal;
  return Frame;
}

GifFrameLayout SmallGifFrame(int Left, int Top, int Width, int Height, std::uint8_t Index, int Disposal) {
  GifFrameLayout Frame = FilledGifFrame(Left, Top, Width, Height, Index);
  Frame.Disposal = Disposal;
  return Frame;
}

// Index 0 drawn clear in every other pixel.
GifFrameLayout WithClearPixels(GifFrameLayout Frame) {
  Frame.TransparentIndex = 0;
  for (std::size_t I = 0; I < Frame.Indexes.size(); I += 2) Frame.Indexes[I] = 0;
  return Frame;
}

}  // namespace

Bytes EveryWayGif() {
  constexpr int W = 12;
  constexpr int H = 10;
  GifFrameLayout Interlaced = WithClearPixels(SmallGifFrame(0, 4, W, 3, 4, DISPOSE_PREVIOUS));
  Interlaced.Interlaced = true;
  const GifPalette Palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  return EncodeGif(W, H, Palette,
                   {
                       StripedGifFrame(W, H, 0, DISPOSE_DO_NOT),
                       SmallGifFrame(2, 2, 5, 4, 2, DISPOSE_BACKGROUND),
                       SmallGifFrame(0, 0, 3, 3, 3, DISPOSE_PREVIOUS),
                       WithClearPixels(StripedGifFrame(W, H, 1, DISPOSE_DO_NOT)),
                       StripedGifFrame(W, H, 2, DISPOSE_DO_NOT),
                       StripedGifFrame(W, H, 3, DISPOSE_PREVIOUS),
                       WithClearPixels(SmallGifFrame(6, 5, 4, 4, 4, DISPOSE_BACKGROUND)),
                       StripedGifFrame(W + 2, H + 2, 4, DISPOSE_BACKGROUND),
                       SmallGifFrame(1, 1, 3, 3, 2, DISPOSE_DO_NOT),
                       StripedGifFrame(W, H, 5, DISPOSE_DO_NOT),
                       Interlaced,
                   },
                   0);
}

}  // namespace picture_tests
