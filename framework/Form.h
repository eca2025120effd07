#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "framework/Dpi.h"
#include "framework/Font.h"
#include "framework/WinControl.h"

namespace tarnwick {

// The frame of a form: none (no caption, frame or system menu) or a
// single fixed frame with a caption.
enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle };
// The buttons of a single frame's caption.
enum TBorderIcon : unsigned { biSystemMenu = 1u << 0, biMinimize = 1u << 1, biMaximize = 1u << 2 };
enum TFormStyle : std::uint8_t { fsNormal, fsStayOnTop };
// Where a form first appears: where its bounds say, or centred on the work
// area of its monitor.
enum TPosition : std::uint8_t { poDesigned, poWorkAreaCenter };

// The form may close when the handler leaves CanClose true.
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A top-level window that holds controls. A form class builds its layout
// in its constructor, at the 120-dpi design scale, and ends it with
// CompleteLoading, which runs the components' after-loading steps, scales
// the layout to the screen and raises OnCreate. Its window class is "TForm"
// unless the class names its own in CreateParams.
//
// As in a dialog, activating the form gives the focus back to the control
// that had it when the form was last deactivated, or to the first control
// in tab order.
//
// The pointer's leave is reported once per visit of the window: the form
// records the innermost control under the pointer (or itself) at every
// movement, and when the pointer leaves the window the recorded control,
// or the form when it recorded itself, raises OnMouseLeave.
class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // bsSingle with all border icons, fsNormal, by default. A change of any
  // of these makes an existing window again.
  void SetBorderStyle(TFormBorderStyle Value);
  void SetBorderIcons(unsigned Value);
  void SetFormStyle(TFormStyle Value);
  void SetPosition(TPosition Value) { FPosition = Value; }
  // Off by default: then a control's key presses reach only the control.
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // Tahoma, 14 pixels high at the design scale; every control inside uses it.
  TFont& Font() { return FFont; }
  // The window's icon; the caller keeps it alive (a shared resource icon).
  void SetIcon(HICON Value);
  void SetClientSize(int AWidth, int AHeight);
  RECT ClientRect() const override;
  // On by default: the layout is scaled from the design resolution to the
  // monitor's, and again when the window moves to a monitor of another
  // resolution. Off, every size is in screen pixels and stays as set.
  void SetScaled(bool Value) { FScaled = Value; }

  // Shows the form (raising OnShow first) and brings it to the front.
  void Show();
  void Hide() { SetVisible(false); }
  void SetVisible(bool Value) override;
  // Asks OnCloseQuery; when it agrees, hides the form, or ends the message
  // loop for the main form.
  void Close();
  bool CloseQuery();
  // Moves the focus from Current to the next (or previous) control in tab
  // order that is visible, enabled and a tab stop, round the form; false
  // when there is none.
  bool SelectNext(TWinControl* Current, bool Forward);
  // Frees the form once the messages already queued for it are handled;
  // safe to call from the form's own event handlers.
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseQueryEvent OnCloseQuery;

 protected:
  // Ends the layout: after-loading steps, scaling, OnCreate. An error of
  // an after-loading step propagates; one of OnCreate is reported.
  void CompleteLoading();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  HFONT FontHandle() override { return FFont.Handle(); }
  bool PreviewsKeys() const override { return FKeyPreview; }
  void ControlMouseMove(TWinControl* Control) override;
  void ControlMouseLeave(TWinControl* Control) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend struct TFrameworkProbe;
  DWORD WindowStyle() const;
  DWORD WindowExStyle() const;
  // Scales the layout to NewDpi; the form's own size too unless the
  // system has given one.
  void ScaleTo(int NewDpi, bool ResizeSelf);
  void CenterOnWorkArea();
  void Activated(WPARAM State);
  void RaiseEvent(const TNotifyEvent& Event);
  bool IsMainForm() const;

  TFormBorderStyle FBorderStyle = bsSingle;
  unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  bool FKeyPreview = false;
  bool FScaled = true;
  TFont FFont{L"Tahoma", -14};
  HICON FIcon = nullptr;
  // The resolution the layout is scaled to at present.
  int FCurrentDpi = DesignDpi;
  bool FLoading = true;
  bool FShownBefore = false;
  // The window inside that had the focus when the form was deactivated.
  HWND FFocusedWindow = nullptr;
  TWinControl* FMouseControl = nullptr;
  HWND FMouseWindow = nullptr;
};

// The nearest form that holds Control (not Control itself), or none.
TCustomForm* GetParentForm(TControl* Control);

// A plain form.
class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

}  // namespace tarnwick
