#include <windows.h>

#include "Application.h"
#include "ForceForegroundWindow.h"
#include "Main.h"
#include "ShowRequest.h"

// The receiving side of the show request that a second start sends.
namespace tarnwick {

void TMainForm::WMCopyData(TMessage& Message) {
  if (IsWindowVisible(Handle())) return;
  // The block comes from any process: only its cbData bytes may be read.
  const auto* Data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  if (!Data || !IsShowRequest(Data->lpData, Data->cbData)) return;
  Show();
  // Minimising hid the taskbar window along with this one.
  ShowWindow(Application().Handle(), SW_RESTORE);
  ForceForegroundWindow(reinterpret_cast<WindowHandle>(Handle()));
}

}  // namespace tarnwick
