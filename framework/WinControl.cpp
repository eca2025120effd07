#include "framework/WinControl.h"

#include <algorithm>

#include "framework/Alignment.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/WindowBinding.h"
#include "framework/WindowClasses.h"

namespace tarnwick {

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner), FWindowProc(TWndMethod::Bind<&TWinControl::WndProc>(this)) {}

TWinControl::~TWinControl() {
  DestroyHandle();
  // The controls inside outlive this one only as orphans.
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateHandle() {
  if (Parent()) {
    // Making the parent's window makes this one too.
    Parent()->Handle();
    if (FHandle) return;
  }
  CreateWnd();
  for (TControl* Control : FControls)
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control); Windowed && !Windowed->FHandle) Windowed->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = FCaption;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0) | (TakesInput() ? 0 : WS_DISABLED);
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = WindowHeight();
  if (Parent()) Params.WndParent = Parent()->Handle();
  Params.WinClassName = L"TWinControl";
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  FOwnClass = Params.BaseClassName.empty();
  FDefWndProc = RegisterWindowClass(Params.WinClassName, Params.BaseClassName, Params.ClassStyle, StaticWndProc);
  // The window binds itself to this control at WM_NCCREATE.
  const HWND Window = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                                      Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                      Params.WndParent, nullptr, GetModuleHandleW(nullptr), this);
  if (!Window) throw LastOSError();
  if (const HFONT Font = FontHandle()) SendMessageW(Window, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  CreateHandle();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* Control : FControls)
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control)) Windowed->DestroyHandle();
  FCaption = Caption();
  FTrackingLeave = false;
  // WM_NCDESTROY unbinds the window and clears FHandle.
  DestroyWindow(FHandle);
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Control = BoundObject<TWinControl>(Window, Msg, LParam);
  // Messages that come before WM_NCCREATE.
  if (!Control) return CallWindowProcW(ClassFallbackProc(Window), Window, Msg, WParam, LParam);
  if (Msg == WM_NCCREATE) Control->FHandle = Window;
  TMessage Message{Msg, WParam, LParam, 0};
  // No exception may cross the system's window procedure.
  try {
    Control->FWindowProc(Message);
  } catch (...) {
    Application().HandleException(Control);
  }
  // The control may be gone now (a release frees it); only the last
  // message of its window still finds it alive, inside its destruction.
  if (Msg == WM_NCDESTROY) {
    Unbind(Window);
    Control->FHandle = nullptr;
  }
  return Message.Result;
}

TWinControl* TWinControl::FromHandle(HWND Window) {
  if (!Window || GetWindowLongPtrW(Window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&StaticWndProc))
    return nullptr;
  return BoundObject<TWinControl>(Window);
}

LRESULT TWinControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage Message{Msg, WParam, LParam, 0};
  FWindowProc(Message);
  return Message.Result;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND:
      if (ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message)) return;
      break;
    case WM_NOTIFY:
      if (ReflectToChild(reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom, Message)) return;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (!ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message))
        Message.Result = ColorControl(reinterpret_cast<HDC>(Message.WParam));
      return;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
      Message.Result = ColorControl(reinterpret_cast<HDC>(Message.WParam));
      return;
    case WM_WINDOWPOSCHANGED:
      ReadBoundsFromWindow();
      break;
    case WM_CHAR: {
      auto Key = static_cast<wchar_t>(Message.WParam);
      if (PreviewKeyPress(Key) || KeyPressed(Key)) return;
      Message.WParam = Key;
      break;
    }
    case WM_MOUSEMOVE:
      if (!FTrackingLeave) {
        TRACKMOUSEEVENT Track{sizeof Track, TME_LEAVE, FHandle, 0};
        FTrackingLeave = TrackMouseEvent(&Track) != 0;
      }
      ControlMouseMove(this);
      break;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      ControlMouseLeave(this);
      break;
    case WM_ENABLE:
      FollowParentEnabled();
      break;
    default:
      break;
  }
  if (FOwnClass) OwnClassMessage(Message);
  else DefaultHandler(Message);
}

// What the system's classes do for themselves, done for our own classes.
void TWinControl::OwnClassMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFONT:
      FWindowFont = reinterpret_cast<HFONT>(Message.WParam);
      if (LOWORD(Message.LParam)) Invalidate();
      return;
    case WM_GETFONT:
      Message.Result = reinterpret_cast<LRESULT>(FWindowFont);
      return;
    case WM_ERASEBKGND: {
      RECT Client;
      GetClientRect(FHandle, &Client);
      FillRect(reinterpret_cast<HDC>(Message.WParam), &Client, Brush());
      Message.Result = 1;
      return;
    }
    default:
      DefaultHandler(Message);
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  Message.Result = FHandle ? CallWindowProcW(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam) : 0;
}

bool TWinControl::ReflectToChild(HWND Child, TMessage& Message) {
  TWinControl* Control = FromHandle(Child);
  if (!Control || Control == this) return false;
  Message.Result = Control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

bool TWinControl::PreviewKeyPress(wchar_t& Key) {
  for (TWinControl* Outer = Parent(); Outer; Outer = Outer->Parent())
    if (Outer->PreviewsKeys()) return Outer->KeyPressed(Key);
  return false;
}

bool TWinControl::KeyPressed(wchar_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
  return Key == 0;
}

HFONT TWinControl::FontHandle() { return Parent() ? Parent()->FontHandle() : nullptr; }

void TWinControl::ApplyFont(HFONT Font) {
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font), TRUE);
  for (TControl* Control : FControls)
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control)) Windowed->ApplyFont(Font);
}

void TWinControl::ControlMouseMove(TWinControl* Control) {
  if (Parent()) Parent()->ControlMouseMove(Control);
}

void TWinControl::ControlMouseLeave(TWinControl* Control) {
  if (Parent()) Parent()->ControlMouseLeave(Control);
}

LRESULT TWinControl::ColorControl(HDC DC) {
  SetBkColor(DC, ColorToRGB(Color()));
  SetTextColor(DC, ColorToRGB(clWindowText));
  return reinterpret_cast<LRESULT>(Brush());
}

HBRUSH TWinControl::Brush() {
  const COLORREF Rgb = ColorToRGB(Color());
  if (!FBrush || FBrushColor != Rgb) {
    FBrush.reset(CreateSolidBrush(Rgb));
    FBrushColor = Rgb;
  }
  return FBrush.get();
}

std::wstring TWinControl::Caption() const {
  if (!FHandle) return FCaption;
  std::wstring Text(static_cast<std::size_t>(GetWindowTextLengthW(FHandle)) + 1, L'\0');
  Text.resize(static_cast<std::size_t>(GetWindowTextW(FHandle, Text.data(), static_cast<int>(Text.size()))));
  return Text;
}

void TWinControl::SetCaption(const std::wstring& Value) {
  FCaption = Value;
  if (FHandle) SetWindowTextW(FHandle, Value.c_str());
}

RECT TWinControl::ClientRect() const {
  RECT Client{0, 0, Width(), Height()};
  if (FHandle) GetClientRect(FHandle, &Client);
  return Client;
}

int TWinControl::ClientWidth() const {
  const RECT Client = ClientRect();
  return Client.right - Client.left;
}

int TWinControl::ClientHeight() const {
  const RECT Client = ClientRect();
  return Client.bottom - Client.top;
}

void TWinControl::Realign() {
  // Not inside itself, when a control it moves asks for alignment again.
  if (FAligning) return;
  const TFlagScope Aligning(FAligning);
  RECT Remaining = ClientRect();
  AdjustClientRect(Remaining);
  for (const TAlign Align : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* Control : FControls) {
      if (Control->Align() != Align || !Control->Visible()) continue;
      const RECT B = AlignedBounds(Align, Remaining, Control->Width(), Control->Height());
      Control->UpdateBounds(B.left, B.top, B.right - B.left, B.bottom - B.top);
    }
  }
}

void TWinControl::InsertControl(TControl* Control) {
  FControls.push_back(Control);
  if (auto* Windowed = dynamic_cast<TWinControl*>(Control)) FTabList.push_back(Windowed);
  Realign();
}

void TWinControl::RemoveControl(TControl* Control) {
  std::erase(FControls, Control);
  std::erase(FTabList, Control);
  Realign();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& Siblings = Parent()->FTabList;
  return static_cast<int>(std::ranges::find(Siblings, this) - Siblings.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!Parent()) return;
  auto& Siblings = Parent()->FTabList;
  std::erase(Siblings, this);
  Siblings.insert(Siblings.begin() + std::clamp(Value, 0, static_cast<int>(Siblings.size())), this);
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

void TWinControl::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) return;
  // A window lives under one parent: it is made again under the new one.
  DestroyHandle();
  TControl::SetParent(AParent);
  if (AParent && AParent->HandleAllocated()) CreateHandle();
}

void TWinControl::SetVisible(bool Value) {
  TControl::SetVisible(Value);
  if (FHandle) ShowWindow(FHandle, Value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value) {
  TControl::SetEnabled(Value);
  if (FHandle) EnableWindow(FHandle, TakesInput());
}

bool TWinControl::TakesInput() const {
  for (const TWinControl* Control = this; Control; Control = Control->Parent())
    if (!Control->Enabled()) return false;
  return true;
}

// A window inside a disabled one takes no input and is drawn so: its own
// window follows the state of the windows around it.
void TWinControl::FollowParentEnabled() {
  for (TControl* Control : FControls)
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control); Windowed && Windowed->FHandle)
      EnableWindow(Windowed->FHandle, Windowed->TakesInput());
}

void TWinControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool Resized = AWidth != Width() || AHeight != Height();
  TControl::UpdateBounds(ALeft, ATop, AWidth, AHeight);
  if (FHandle)
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, WindowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (Resized) Realign();
}

void TWinControl::ReadBoundsFromWindow() {
  RECT Bounds;
  GetWindowRect(FHandle, &Bounds);
  if (const HWND ParentWindow = GetParent(FHandle); ParentWindow && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, ParentWindow, reinterpret_cast<POINT*>(&Bounds), 2);
  const int NewWidth = Bounds.right - Bounds.left;
  const int NewHeight = Bounds.bottom - Bounds.top;
  const bool Resized = NewWidth != Width() || NewHeight != Height();
  TControl::UpdateBounds(Bounds.left, Bounds.top, NewWidth, NewHeight);
  if (Resized) Realign();
}

void TWinControl::ChangeScale(int M, int D) {
  for (TControl* Control : FControls) Control->ChangeScale(M, D);
  TControl::ChangeScale(M, D);
}

void TWinControl::Invalidate() {
  if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace tarnwick
