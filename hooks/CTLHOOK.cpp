#include "hooks/CTLHOOK.h"

#include "framework/Exception.h"

namespace tarnwick {

TCustomForm* FindOwnerForm(TComponent* C) {
  for (; C; C = C->Owner()) {
    if (auto* Form = dynamic_cast<TCustomForm*>(C)) return Form;
    if (auto* Control = dynamic_cast<TControl*>(C)) {
      while (Control->Parent()) Control = Control->Parent();
      return dynamic_cast<TCustomForm*>(Control);
    }
  }
  return nullptr;
}

TControlHook::TControlHook(TComponent* AOwner) : TComponent(AOwner) {}

TControlHook::~TControlHook() { SetHooked(false); }

void TControlHook::SetControl(TWinControl* Value) {
  SetHooked(false);
  FControl = Value;
  SetHooked(true);
}

void TControlHook::SetTarget(THookTarget Value) {
  SetHooked(false);
  FTargetType = Value;
  SetHooked(true);
}

void TControlHook::Loaded() {
  TComponent::Loaded();
  SetControl(FControl);
}

void TControlHook::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // The target is going: let go of it without touching its WindowProc.
  if (AComponent == FHookTarget && Operation == opRemove) {
    HandleChanged(hcGone);
    FHookTarget = nullptr;
  }
}

void TControlHook::HandleChanged(std::uint8_t Code) {
  FHWndHookTarget = Code == hcGone ? nullptr : FHookTarget->Handle();
}

void TControlHook::WndProc(TMessage& Message) { FOrgHookWndProc(Message); }

TWinControl* TControlHook::FindHookTarget() {
  if (FTargetType == htForm) return FindOwnerForm(FControl ? static_cast<TComponent*>(FControl) : this);
  return FControl;
}

void TControlHook::SetHooked(bool Value) {
  if (ComponentState() & csDesigning) return;
  if (!Value) {
    if (!FHookTarget) return;
    // The value saved at install time, whatever the slot holds now: hooks
    // stacked on one control come off in the reverse order.
    FHookTarget->SetWindowProc(FOrgHookWndProc);
    FHWndHookTarget = nullptr;
    FHookTarget = nullptr;
    return;
  }
  TWinControl* Target = FindHookTarget();
  if (!Target || !Target->Handle()) {
    if (FTargetType == htForm) throw Exception("フック先を特定できません。");
    return;
  }
  FHWndHookTarget = Target->Handle();
  FHookTarget = Target;
  Target->FreeNotification(this);
  FOrgHookWndProc = Target->WindowProc();
  Target->SetWindowProc(TWndMethod::Bind<&TControlHook::HookWndProc>(this));
}

void TControlHook::HookWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CREATE:
      FHWndHookTarget = PendingHandle;
      break;
    case WM_DESTROY:
      HandleChanged(hcGone);
      break;
    default:
      if (FHWndHookTarget == PendingHandle && FHookTarget && FHookTarget->HandleAllocated()) HandleChanged(hcBack);
      break;
  }
  WndProc(Message);
}

}  // namespace tarnwick
