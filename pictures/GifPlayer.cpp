#include "pictures/GifPlayer.h"

#include "pictures/GifReader.h"
#include "pictures/PictureErrors.h"

namespace tarnwick {

GifPlayer::GifPlayer(const GifAnimation& Animation) : Animation_(Animation) {}

const PictureFrame& GifPlayer::Frame(int Index) {
  const bool Continuing = Next_ > 0 && Index + 1 >= Next_;
  if (!Continuing) {
    Canvas().Clear();
    Next_ = 0;
    Undrawn_ = false;
  }
  Changed_ = Continuing ? PixelArea{} : Whole();
  // Opaque handed that frame out already: drawing it changes nothing shown.
  if (Undrawn_) Canvas().Draw(Image_);
  Undrawn_ = false;
  while (Next_ <= Index) Changed_ = Union(Changed_, Composite(Next_++));
  return Canvas().Pixels();
}

const GifFrameImage* GifPlayer::Opaque(int Index) {
  const GifFrameRecord& Record = Animation_.Frame(Index);
  // Disposing of a frame to what lay under it needs the canvas before it.
  if (!Record.Covers || Record.Control.Disposal == GifDisposal::gdPrevious) return nullptr;
  Read(Index);
  Next_ = Index + 1;
  Undrawn_ = true;
  Changed_ = Whole();
  return &Image_;
}

PixelArea GifPlayer::Composite(int Index) {
  Read(Index);
  return Canvas().Draw(Image_);
}

void GifPlayer::Read(int Index) {
  if (Index < Animation_.Store().Kept())
    Animation_.Store().Expand(Index, Image_);
  else
    ReadFromFile(Index);
}

// Each frame is read on its own, from the file's header and the frame's
// records: giflib keeps a record of every image one reading passes.
void GifPlayer::ReadFromFile(int Index) {
  const GifFrameRecord& Record = Animation_.Frame(Index);
  GifReader Reader(Animation_.Bytes());
  Reader.Seek(Record.Offset);
  GifRecordType Type = UNDEFINED_RECORD_TYPE;
  Reader.Check(DGifGetRecordType(Reader.Get(), &Type));
  if (Type != IMAGE_DESC_RECORD_TYPE) throw EPictureError(DamagedReason("画像がありません"));
  Reader.Check(DGifGetImageDesc(Reader.Get()));
  ReadImage(Reader, Record.Control, Image_);
}

GifCanvas& GifPlayer::Canvas() {
  if (!Canvas_) Canvas_.emplace(Animation_.Width(), Animation_.Height());
  return *Canvas_;
}

}  // namespace tarnwick
