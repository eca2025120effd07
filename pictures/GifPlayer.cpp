#include "GifPlayer.h"

#include "GifReader.h"
#include "PictureErrors.h"

namespace tarnwick {

GifPlayer::GifPlayer(const GifAnimation& Animation)
    : Animation_(Animation), Canvas_(Animation.Width(), Animation.Height()) {}

const PictureFrame& GifPlayer::Frame(int Index) {
  const bool Continuing = Next_ > 0 && Index + 1 >= Next_;
  if (!Continuing) {
    Canvas_.Clear();
    Next_ = 0;
  }
  Changed_ = Continuing ? PixelArea{} : PixelArea{0, 0, Animation_.Width(), Animation_.Height()};
  while (Next_ <= Index) Changed_ = Union(Changed_, Composite(Next_++));
  return Canvas_.Pixels();
}

PixelArea GifPlayer::Composite(int Index) {
  Read(Index);
  return Canvas_.Draw(Image_);
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

}  // namespace tarnwick
