#pragma once

#include "shell/Desktop.h"

namespace tarnwick {

// Whether the system keeps a process from taking the foreground while the
// user works in another: every NT system from version 5 on, and the Windows
// family from 4.1 on.
bool HasForegroundLock(const TPlatformVersion& Version);

// Brings Window to the foreground past the system's foreground lock. True
// when it is the foreground window on return; nothing is done when it
// already was. The lock timeout, when it has to be lifted, is back at its
// value on return; when it cannot be read it is left alone.
bool ForceForegroundWindow(WindowHandle Window);

}  // namespace tarnwick
