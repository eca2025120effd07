#include "shell/Desktop.h"

namespace tarnwick {

// Away from Windows there is no real desktop; tests supply their own.
IDesktop* PlatformDesktop() { return nullptr; }

}  // namespace tarnwick
