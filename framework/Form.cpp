#include "framework/Form.h"

#include <algorithm>
#include <vector>

#include "framework/Application.h"

namespace tarnwick {

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  // Forms appear when shown, not when made.
  FVisible = false;
  FFont.OnChange = [this] { ApplyFont(FFont.Handle()); };
}

TCustomForm::~TCustomForm() {
  // Destroyed here, while the window still reaches this class's WndProc.
  DestroyHandle();
}

void TCustomForm::CompleteLoading() {
  LoadComponents();
  ScaleTo((HandleAllocated() ? WindowDpi(Handle()) : SystemDpi()).Dpi, true);
  FLoading = false;
  RaiseEvent(OnCreate);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(unsigned Value) {
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  FFormStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetIcon(HICON Value) {
  FIcon = Value;
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FIcon));
}

DWORD TCustomForm::WindowStyle() const {
  DWORD Style = WS_CLIPCHILDREN | (Parent() ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP);
  if (FBorderStyle == bsSingle) {
    Style |= WS_CAPTION;
    if (FBorderIcons & biSystemMenu) Style |= WS_SYSMENU;
    if (FBorderIcons & biMinimize) Style |= WS_MINIMIZEBOX;
    if (FBorderIcons & biMaximize) Style |= WS_MAXIMIZEBOX;
  }
  return Style;
}

DWORD TCustomForm::WindowExStyle() const { return FFormStyle == fsStayOnTop ? WS_EX_TOPMOST : 0; }

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style = WindowStyle() | (Visible() ? WS_VISIBLE : 0) | (Enabled() ? 0 : WS_DISABLED);
  Params.ExStyle = WindowExStyle();
  // Owned by the application window, which carries the taskbar entry.
  if (!Parent()) Params.WndParent = Application().Handle();
  Params.WinClassName = L"TForm";
  Params.ClassStyle = CS_DBLCLKS;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FIcon) SetIcon(FIcon);
  if (!FLoading) ScaleTo(WindowDpi(Handle()).Dpi, true);
}

RECT TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  RECT Frame{};
  AdjustWindowRectEx(&Frame, WindowStyle(), FALSE, WindowExStyle());
  return {0, 0, Width() - (Frame.right - Frame.left), Height() - (Frame.bottom - Frame.top)};
}

void TCustomForm::SetClientSize(int AWidth, int AHeight) {
  SetBounds(Left(), Top(), Width() - ClientWidth() + AWidth, Height() - ClientHeight() + AHeight);
}

void TCustomForm::ScaleTo(int NewDpi, bool ResizeSelf) {
  if (!FScaled || NewDpi == FCurrentDpi) return;
  const int M = NewDpi;
  const int D = FCurrentDpi;
  FCurrentDpi = NewDpi;
  const int NewClientWidth = MulDiv(ClientWidth(), M, D);
  const int NewClientHeight = MulDiv(ClientHeight(), M, D);
  // The font first: the room a caption takes follows it, and the controls
  // realign inside their containers as they are scaled.
  FFont.SetHeight(MulDiv(FFont.Height(), M, D));
  for (TControl* Control : Controls()) Control->ChangeScale(M, D);
  if (ResizeSelf) SetClientSize(NewClientWidth, NewClientHeight);
  Realign();
}

void TCustomForm::Show() {
  SetVisible(true);
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::SetVisible(bool Value) {
  if (Value == Visible()) return;
  if (Value) {
    const HWND Window = Handle();
    TControl::SetVisible(true);
    RaiseEvent(OnShow);
    if (!FShownBefore && FPosition == poWorkAreaCenter) CenterOnWorkArea();
    FShownBefore = true;
    ShowWindow(Window, SW_SHOWNORMAL);
    if (IsMainForm()) Application().ShowTaskbarEntry();
  } else {
    TControl::SetVisible(false);
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    if (IsMainForm()) Application().HideTaskbarEntry();
    RaiseEvent(OnHide);
  }
}

void TCustomForm::CenterOnWorkArea() {
  MONITORINFO Monitor{};
  Monitor.cbSize = sizeof Monitor;
  GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &Monitor);
  const RECT& Work = Monitor.rcWork;
  SetBounds(Work.left + (Work.right - Work.left - Width()) / 2, Work.top + (Work.bottom - Work.top - Height()) / 2,
            Width(), Height());
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  if (IsMainForm())
    Application().Terminate();
  else
    Hide();
}

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

namespace {

void CollectTabStops(const TWinControl& Container, std::vector<TWinControl*>& Stops) {
  for (TWinControl* Control : Container.TabList()) {
    if (!Control->Visible() || !Control->Enabled()) continue;
    if (Control->TabStop()) Stops.push_back(Control);
    CollectTabStops(*Control, Stops);
  }
}

}  // namespace

bool TCustomForm::SelectNext(TWinControl* Current, bool Forward) {
  std::vector<TWinControl*> Stops;
  CollectTabStops(*this, Stops);
  if (Stops.empty()) return false;
  const auto Count = static_cast<std::ptrdiff_t>(Stops.size());
  const std::ptrdiff_t At = std::ranges::find(Stops, Current) - Stops.begin();
  const std::ptrdiff_t Next = At == Count ? (Forward ? 0 : Count - 1) : (At + (Forward ? 1 : Count - 1)) % Count;
  Stops[static_cast<std::size_t>(Next)]->SetFocus();
  return true;
}

TCustomForm* GetParentForm(TControl* Control) {
  for (TWinControl* Outer = Control->Parent(); Outer; Outer = Outer->Parent())
    if (auto* Form = dynamic_cast<TCustomForm*>(Outer)) return Form;
  return nullptr;
}

void TCustomForm::Release() { PostMessageW(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_QUERYENDSESSION:
      Message.Result = CloseQuery();
      return;
    case WM_SYSCOMMAND:
      // The main form's minimise button minimises the application.
      if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && IsMainForm()) {
        Application().Minimize();
        return;
      }
      break;
    case WM_DPICHANGED: {
      // A form in screen pixels keeps its bounds on any monitor.
      if (!FScaled) return;
      ScaleTo(LOWORD(Message.WParam), false);
      const RECT& Suggested = *reinterpret_cast<const RECT*>(Message.LParam);
      SetWindowPos(Handle(), nullptr, Suggested.left, Suggested.top, Suggested.right - Suggested.left,
                   Suggested.bottom - Suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
    case WM_ACTIVATE:
      // The system's handling focuses the form itself.
      TWinControl::WndProc(Message);
      Activated(Message.WParam);
      return;
    case CM_RELEASE:
      delete this;
      return;
    default:
      break;
  }
  TWinControl::WndProc(Message);
}

void TCustomForm::Activated(WPARAM State) {
  if (LOWORD(State) == WA_INACTIVE) {
    const HWND Focus = GetFocus();
    FFocusedWindow = Focus && IsChild(Handle(), Focus) ? Focus : nullptr;
    return;
  }
  // A minimised form takes no focus.
  if (HIWORD(State)) return;
  const HWND Saved = FFocusedWindow;
  if (Saved && IsChild(Handle(), Saved) && IsWindowVisible(Saved) && IsWindowEnabled(Saved))
    ::SetFocus(Saved);
  else
    SelectNext(nullptr, true);
}

void TCustomForm::ControlMouseMove(TWinControl* Control) {
  if (Control != FMouseControl && Control != this) Control->FreeNotification(this);
  FMouseControl = Control;
  FMouseWindow = Control->Handle();
}

void TCustomForm::ControlMouseLeave(TWinControl* Control) {
  // Only the window that saw the last movement speaks for the form.
  if (!Control->HandleAllocated() || Control->Handle() != FMouseWindow) return;
  POINT Cursor{};
  GetCursorPos(&Cursor);
  const HWND Under = WindowFromPoint(Cursor);
  // Still inside: the window under the pointer records itself at its move.
  if (Under == Handle() || IsChild(Handle(), Under)) return;
  TControl* Recorded = FMouseControl ? FMouseControl : this;
  FMouseControl = nullptr;
  FMouseWindow = nullptr;
  Recorded->DoMouseLeave();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMouseControl) {
    FMouseControl = nullptr;
    FMouseWindow = nullptr;
  }
}

void TCustomForm::RaiseEvent(const TNotifyEvent& Event) {
  try {
    if (Event) Event(this);
  } catch (...) {
    Application().HandleException(this);
  }
}

bool TCustomForm::IsMainForm() const { return Application().MainForm() == this; }

}  // namespace tarnwick
