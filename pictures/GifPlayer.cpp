#include "pictures/GifPlayer.h"

#include "pictures/GifReader.h"
#include "pictures/PictureErrors.h"

namespace tarnwick {

TGifPlayer::TGifPlayer(const TGifAnimation& Animation) : FAnimation(Animation) {}

const TPictureFrame& TGifPlayer::Frame(int Index) {
  const bool Continuing = FNext > 0 && Index + 1 >= FNext;
  if (!Continuing) {
    Canvas().Clear();
    FNext = 0;
    FUndrawn = false;
  }
  FChanged = Continuing ? TPixelArea{} : Whole();
  // Opaque handed that frame out already: drawing it changes nothing shown.
  if (FUndrawn) Canvas().Draw(FImage);
  FUndrawn = false;
  while (FNext <= Index) FChanged = Union(FChanged, Composite(FNext++));
  return Canvas().Pixels();
}

const TGifFrameImage* TGifPlayer::Opaque(int Index) {
  const TGifFrameRecord& Record = FAnimation.Frame(Index);
  // Disposing of a frame to what lay under it needs the canvas before it.
  if (!Record.Covers || Record.Control.Disposal == TGifDisposal::gdPrevious) return nullptr;
  Read(Index);
  FNext = Index + 1;
  FUndrawn = true;
  FChanged = Whole();
  return &FImage;
}

TPixelArea TGifPlayer::Composite(int Index) {
  Read(Index);
  return Canvas().Draw(FImage);
}

void TGifPlayer::Read(int Index) {
  if (Index < FAnimation.Store().Kept())
    FAnimation.Store().Expand(Index, FImage);
  else
    ReadFromFile(Index);
}

// Each frame is read on its own, from the file's header and the frame's
// records: giflib keeps a record of every image one reading passes.
void TGifPlayer::ReadFromFile(int Index) {
  const TGifFrameRecord& Record = FAnimation.Frame(Index);
  TGifReader Reader(FAnimation.Bytes());
  Reader.Seek(Record.Offset);
  GifRecordType Type = UNDEFINED_RECORD_TYPE;
  Reader.Check(DGifGetRecordType(Reader.Get(), &Type));
  if (Type != IMAGE_DESC_RECORD_TYPE) throw EPictureError(DamagedReason("画像がありません"));
  Reader.Check(DGifGetImageDesc(Reader.Get()));
  ReadImage(Reader, Record.Control, FImage);
}

TGifCanvas& TGifPlayer::Canvas() {
  if (!FCanvas) FCanvas.emplace(FAnimation.Width(), FAnimation.Height());
  return *FCanvas;
}

}  // namespace tarnwick
