#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Component.h"
#include "framework/Form.h"
#include "framework/Message.h"
#include "framework/WinControl.h"

namespace tarnwick {

// Which window a hook sits on.
enum THookTarget : std::uint8_t {
  // Control itself.
  htControl = 0,
  // The form that holds Control; without Control, the form found up the
  // hook's owner chain.
  htForm = 1,
};

// What HandleChanged reports about the hooked window.
enum THandleChange : std::uint8_t { hcGone = 1, hcBack = 2 };

// Splices itself into one windowed control's message handling without
// deriving from the control's class: it saves the control's WindowProc,
// puts its own in its place and passes every message on to the saved one.
// The splice is made on the control, not on its window, so it lasts while
// the window is destroyed and made again; the hook follows the handle.
// By itself it changes nothing; a descendant acts on chosen messages in
// WndProc and re-applies window settings in HandleChanged.
class TControlHook : public TComponent {
 public:
  explicit TControlHook(TComponent* AOwner);
  ~TControlHook() override;

  TWinControl* Control() const { return FControl; }
  // Removes the hook, stores the value and installs the hook again, also
  // for the value already held. Raises Exception for htForm when no form
  // with a window is found.
  void SetControl(TWinControl* Value);

 protected:
  THookTarget Target() const { return FTargetType; }
  // Removes, stores and installs, as SetControl does.
  void SetTarget(THookTarget Value);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The hooked window's handle has gone (hcGone) or exists again (hcBack).
  virtual void HandleChanged(std::uint8_t Code);
  // Runs for every message of the target; the base passes it on.
  virtual void WndProc(TMessage& Message);

  THookTarget FTargetType = htControl;
  TWinControl* FControl = nullptr;
  // The control whose WindowProc is replaced; none while not installed.
  TWinControl* FHookTarget = nullptr;
  // The hooked window as last seen: none, PendingHandle, or the handle.
  HWND FHWndHookTarget = nullptr;
  // The WindowProc the hook replaced; meaningful only while installed.
  TWndMethod FOrgHookWndProc;

  // The target has just received WM_CREATE; its new handle is not yet taken.
  static inline const HWND PendingHandle = reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));

 private:
  void HookWndProc(TMessage& Message);
  void SetHooked(bool Value);
  TWinControl* FindHookTarget();
};

// The form that holds C: C itself when it is a form; for another control,
// the outermost parent when that is a form; otherwise the same question for
// C's owner. None when the chain runs out.
TCustomForm* FindOwnerForm(TComponent* C);

}  // namespace tarnwick
