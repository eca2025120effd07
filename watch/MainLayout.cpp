#include <windows.h>

#include "framework/Application.h"
#include "watch/BuiltinPicture.h"
#include "watch/Main.h"

// The settings window's layout, at the 120-dpi design scale.
namespace tarnwick {

namespace {

// A control of Owner placed in Parent along Align, Size being its height
// for top and bottom, its width for left and right.
template <class TControlClass>
TControlClass* Place(TMainForm* Owner, TWinControl* Parent, TAlign Align, int Size = 0) {
  auto* Control = new TControlClass(Owner);
  if (Align == alTop || Align == alBottom)
    Control->SetHeight(Size);
  else if (Align == alLeft || Align == alRight)
    Control->SetWidth(Size);
  Control->SetAlign(Align);
  Control->SetParent(Parent);
  return Control;
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  AskYesNo = [this](const std::wstring& Question) {
    return MessageBoxW(Handle(), Question.c_str(), Application().Title().c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
  };
  BuildLayout();
  BindEvents();
  CompleteLoading();
}

void TMainForm::BuildLayout() {
  SetCaption(L"Tarnwick");
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(poWorkAreaCenter);
  SetClientSize(368, 304);
  SetIcon(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));

  GroupBoxTime = Place<TGroupBox>(this, this, alTop, 63);
  GroupBox4 = Place<TGroupBox>(this, GroupBoxTime, alLeft, 181);
  GroupBox4->SetCaption(L"マウスカーソル停止時間");
  ComboBoxCursor = Place<TComboBox>(this, GroupBox4, alTop, 25);
  GroupBox2 = Place<TGroupBox>(this, GroupBoxTime, alRight, 181);
  GroupBox2->SetCaption(L"画像表示時間");
  ComboBoxSplash = Place<TComboBox>(this, GroupBox2, alTop, 25);

  GroupBoxWav = Place<TGroupBox>(this, this, alBottom, 100);
  GroupBoxWav->SetCaption(L"モニタ間移動音声");
  RadioGroupWav = Place<TRadioGroup>(this, GroupBoxWav, alTop, 40);
  RadioGroupWav->SetColumns(3);
  RadioGroupWav->SetItems({L"なし", L"内蔵音声", L"指定"});
  RadioGroupWav->SetItemIndex(0);
  EditWav = Place<TEdit>(this, GroupBoxWav, alTop, 25);

  GroupBoxPic = Place<TGroupBox>(this, this, alClient);
  GroupBoxPic->SetCaption(L"画像");
  RadioGroupSize = Place<TRadioGroup>(this, GroupBoxPic, alRight, 94);
  RadioGroupSize->SetItems({L"大", L"中", L"小"});
  RadioGroupSize->SetItemIndex(1);
  LabelPicture = Place<TLabel>(this, GroupBoxPic, alBottom, 17);
  Image = Place<TImage>(this, GroupBoxPic, alClient);
  Image->SetStretch(true);
  Image->SetProportional(true);

  ImageDef = new TImage(this);
  ImageDef->SetVisible(false);
  ImageDef->SetAlign(alBottom);
  ImageDef->SetCenter(true);
  ImageDef->SetProportional(true);
  ImageDef->SetParent(this);
  ImageDef->SetPicture(BuiltinPicture());
  Image->SetPicture(BuiltinPicture());

  GroupBoxPic->SetTabOrder(0);
  GroupBoxTime->SetTabOrder(1);
  GroupBoxWav->SetTabOrder(2);
  GroupBox2->SetTabOrder(0);
  GroupBox4->SetTabOrder(1);

  Timer = new TTimer(this);
  Timer->SetEnabled(false);
  DropDst = new TDropDst(this);
  DropDst->SetTarget(htForm);
  ApplicationEvents = new TApplicationEvents(this);
}

void TMainForm::BindEvents() {
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnHide = [this](TObject* Sender) { FormHide(Sender); };
  OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  ApplicationEvents->OnMinimize = [this](TObject* Sender) { ApplicationEventsMinimize(Sender); };
  Timer->OnTimer = [this](TObject* Sender) { TimerTimer(Sender); };
  ComboBoxCursor->OnChange = [this](TObject* Sender) { ComboBoxCursorChange(Sender); };
  RadioGroupWav->OnClick = [this](TObject* Sender) { RadioGroupWavClick(Sender); };
  Image->OnDblClick = [this](TObject* Sender) { ImageDblClick(Sender); };
  Image->OnMouseUp = [this](TObject* Sender, TMouseButton Button, unsigned Shift, int X, int Y) {
    ImageMouseUp(Sender, Button, Shift, X, Y);
  };
  DropDst->SetOnFileDrop(
      [this](TObject* Sender, const TStrings& Files, int X, int Y) { DropDstFileDrop(Sender, Files, X, Y); });
}

void TMainForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  // The show request of a second start finds the window by this name.
  Params.WinClassName = L"TMainForm";
}

}  // namespace tarnwick
