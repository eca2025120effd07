#include <windows.h>

#include "framework/Application.h"
#include "shell/ForceForegroundWindow.h"
#include "watch/Main.h"
#include "shell/ShowRequest.h"

// The receiving side of the show request that a second start sends.
namespace tarnwick {

void TMainForm::WMCopyData(TMessage& Message) {
  const bool Shown = IsWindowVisible(Handle());
  // The block comes from any process: only its cbData bytes may be read.
  const auto* Data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  if (!Data || !IsShowRequest(Data->lpData, Data->cbData)) return;
  if (!Shown) {
    Show();
    // Minimising hid the taskbar window along with this one.
    Application().RestoreTaskbarEntry();
  }
  // A second start is the user asking for this window: one already open
  // but covered by other programs comes to the front as well. One already
  // in front is left exactly as it is.
  ForceForegroundWindow(reinterpret_cast<WindowHandle>(Handle()));
}

}  // namespace tarnwick
