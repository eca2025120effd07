#include "watch/Main.h"
#include "watch/PictureChoice.h"
#include "pictures/PictureDecoder.h"
#include "watch/SettingsModel.h"

// The picture choice: a dropped or stored file, or the built-in picture.
namespace tarnwick {

void TMainForm::LoadPicture() {
  const std::wstring Name = LabelPicture->Caption();
  if (Name.empty() || !Desktop().FileExists(Name) || !IsAcceptedPictureName(Name)) {
    ShowBuiltinPicture();
    return;
  }
  // Decoded first, so that a damaged file leaves the picture shown before.
  Image->SetPicture(DecodePictureFile(Name, LargestPopupLongSide));
  Image->SetAnimate(IsGifName(Name));
}

void TMainForm::ShowBuiltinPicture() {
  Image->SetPicture(ImageDef->SharedPicture());
  LabelPicture->SetCaption(L"");
}

void TMainForm::ImageMouseUp(TObject*, TMouseButton Button, unsigned, int, int) {
  if (Button == mbRight) ShowBuiltinPicture();
}

void TMainForm::ImageDblClick(TObject*) { ShowSplash(); }

void TMainForm::DropDstFileDrop(TObject*, const TStrings& Files, int, int) {
  if (Files.empty()) return;
  const std::wstring& Name = Files.front();
  if (IsWaveName(Name)) {
    EditWav->SetText(Name);
    return;
  }
  LabelPicture->SetCaption(Name);
  LoadPicture();
}

}  // namespace tarnwick
