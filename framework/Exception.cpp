#include "framework/Exception.h"

#include <windows.h>

#include "base/SystemErrorText.h"

namespace tarnwick {

Exception LastOSError() { return Exception(SystemErrorText(GetLastError())); }

}  // namespace tarnwick
