#pragma once

#include <gif_lib.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "pictures/GifAnimation.h"
#include "pictures/GifCanvas.h"

// A GIF held in memory, read record by record through giflib: what the
// check of a whole file and the compositing of one frame share.
namespace tarnwick {

class TGifReader {
 public:
  // Opens Bytes and reads the header and the screen descriptor. Raises
  // EPictureError with the reason when they cannot be read.
  explicit TGifReader(std::span<const std::uint8_t> Bytes);
  ~TGifReader();
  TGifReader(const TGifReader&) = delete;
  TGifReader& operator=(const TGifReader&) = delete;

  GifFileType* operator->() const { return FGif; }
  GifFileType* Get() const { return FGif; }

  // Raises giflib's error when Result is GIF_ERROR.
  void Check(int Result) const;
  [[noreturn]] void Fail() const;

  // Where the next record is read, as an offset into the bytes; Seek skips
  // to another.
  std::size_t Position() const { return FSource.Position; }
  void Seek(std::size_t Offset) { FSource.Position = Offset; }
  bool AtEnd() const { return FSource.Position == FSource.Bytes.size(); }

 private:
  struct TSource {
    std::span<const std::uint8_t> Bytes;
    std::size_t Position = 0;
  };
  static int Read(GifFileType* Gif, GifByteType* Out, int Count);

  TSource FSource;
  GifFileType* FGif = nullptr;
};

// Reads the extension record that follows: a graphic control extension sets
// Control, the loop extension sets LoopCount.
void ReadExtension(const TGifReader& Reader, TGifFrameControl& Control, int& LoopCount);

// Reads the pixels of the image whose descriptor was read last into Image,
// reusing its storage, with the colours and disposal Control gives them.
void ReadImage(const TGifReader& Reader, const TGifFrameControl& Control, TGifFrameImage& Image);

}  // namespace tarnwick
