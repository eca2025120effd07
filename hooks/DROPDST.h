#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>

#include "hooks/CTLHOOK.h"
#include "framework/Object.h"

namespace tarnwick {

// Files were dropped: their full names in the shell's order, and the drop
// point in client coordinates of the hooked window. Files may be read
// during the call only.
using TFileDropEvent = std::function<void(TObject* Sender, const TStrings& Files, int X, int Y)>;

// A hook that lets files from the desktop shell be dropped on the hooked
// window: each drop of one or more files becomes one OnFileDrop event. A
// WM_DROPFILES whose block is not a well-formed drop of this process (any
// program can send any value) is ignored and left alone; a well-formed one
// is finished when it is a movable block, as the shell makes them, and
// only read when it is a fixed one, which cannot be told from any other
// block of the process heap. The window is registered as a drop target
// again whenever the hook reports a new window.
class TDropDst : public TControlHook {
 public:
  explicit TDropDst(TComponent* AOwner);

  // None by default.
  void SetOnFileDrop(TFileDropEvent Value) { FOnFileDrop = std::move(Value); }
  // Whether the shell offers drops to the window; true by default. A new
  // value is applied at once when the window exists.
  bool AcceptDrop() const { return FAcceptDrop; }
  void SetAcceptDrop(bool Value);
  using TControlHook::SetTarget;
  using TControlHook::Target;

 protected:
  void Loaded() override;
  void HandleChanged(std::uint8_t Code) override;
  void WndProc(TMessage& Message) override;

 private:
  void UpdateAcceptDrop();

  TFileDropEvent FOnFileDrop;
  bool FAcceptDrop = true;
};

}  // namespace tarnwick
