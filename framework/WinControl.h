#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Control.h"
#include "base/ScopeGuards.h"
#include "framework/Message.h"

namespace tarnwick {

// How a control's window is made; a control fills it in CreateParams.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  // The window class: our name for it, the system class it is made from
  // (empty for a class of our own), and the class style of our own classes.
  std::wstring WinClassName;
  std::wstring BaseClassName;
  UINT ClassStyle = 0;
};

// A key that produced a character; a handler that sets Key to 0 eats it.
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

// A control with a window of its own. Every message of the window, from
// WM_NCCREATE to WM_NCDESTROY, goes to WindowProc, a replaceable message
// procedure that starts as the control's own WndProc; the control keeps
// calling it for each new window it makes.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, made (with its parents' and its children's) on first read.
  // Raises Exception when the system refuses to make it.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and makes a new one, if there is a window.
  void RecreateWnd();
  // Destroys the window (and its children's); the control keeps its state.
  void DestroyHandle();

  TWndMethod WindowProc() const { return FWindowProc; }
  void SetWindowProc(TWndMethod Value) { FWindowProc = Value; }
  // Calls WindowProc directly with the message; returns its result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  // The controls this one contains, in the order they were put in.
  const std::vector<TControl*>& Controls() const { return FControls; }
  // The window text: a caption, or an edit box's text.
  std::wstring Caption() const;
  void SetCaption(const std::wstring& Value);
  // The area inside the control that its controls are placed in.
  virtual RECT ClientRect() const;
  int ClientWidth() const;
  int ClientHeight() const;
  // Lines the aligned controls up again inside the client area.
  void Realign();

  // The place among the parent's windowed controls in the order the Tab
  // key visits them: the order they were put in, unless set.
  int TabOrder() const;
  void SetTabOrder(int Value);
  // Whether the Tab key stops at the control; off by default.
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  // Gives the control the keyboard focus.
  virtual void SetFocus();
  // The windowed controls inside, in tab order.
  const std::vector<TWinControl*>& TabList() const { return FTabList; }

  // The control bound to Window, or none for a window that is not ours.
  static TWinControl* FromHandle(HWND Window);

  void SetParent(TWinControl* AParent) override;
  void SetVisible(bool Value) override;
  // A control inside a disabled one keeps its own Enabled but takes no
  // input, and is drawn disabled, until the one around it is enabled again.
  void SetEnabled(bool Value) override;
  // Enabled, and so is every control it sits in.
  bool TakesInput() const;

  TKeyPressEvent OnKeyPress;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Makes the window from CreateParams; descendants add what their window
  // needs once it exists.
  virtual void CreateWnd();
  // The control's own message handling; ends in DefaultHandler.
  virtual void WndProc(TMessage& Message);
  // The window class's own handling of the message.
  void DefaultHandler(TMessage& Message);
  // The height the window is made with; the control's height by default.
  virtual int WindowHeight() const { return Height(); }
  // Shrinks the client area to what aligned controls may use.
  virtual void AdjustClientRect(RECT&) {}
  // The font of the control's window: its form's; none without a form.
  virtual HFONT FontHandle();
  // Whether key presses of the controls inside reach this one first.
  virtual bool PreviewsKeys() const { return false; }
  // The pointer moved over, or left the window of, Control (this one or
  // one inside); the base hands it on to the parent.
  virtual void ControlMouseMove(TWinControl* Control);
  virtual void ControlMouseLeave(TWinControl* Control);
  // Sets the colours of a child window about to draw; returns the brush.
  LRESULT ColorControl(HDC DC);
  // A brush of the control's colour.
  HBRUSH Brush();
  // The font the window was given (WM_SETFONT), for windows of our own classes.
  HFONT WindowFont() const { return FWindowFont; }
  // Sends the font to this window and every window inside it.
  void ApplyFont(HFONT Font);

  void UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void ChangeScale(int M, int D) override;
  void Invalidate() override;

 private:
  friend class TControl;
  static LRESULT CALLBACK StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  void CreateHandle();
  void InsertControl(TControl* Control);
  void RemoveControl(TControl* Control);
  bool ReflectToChild(HWND Child, TMessage& Message);
  void ReadBoundsFromWindow();
  bool KeyPressed(wchar_t& Key);
  bool PreviewKeyPress(wchar_t& Key);
  void OwnClassMessage(TMessage& Message);
  void FollowParentEnabled();

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = DefWindowProcW;
  bool FOwnClass = true;
  TWndMethod FWindowProc;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  std::wstring FCaption;
  HFONT FWindowFont = nullptr;
  TGdiObject<HBRUSH> FBrush;
  COLORREF FBrushColor = 0;
  bool FAligning = false;
  bool FTrackingLeave = false;
};

}  // namespace tarnwick
