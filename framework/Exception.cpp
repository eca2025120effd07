#include "Exception.h"

#include <windows.h>

#include "SystemErrorText.h"

namespace tarnwick {

Exception LastOSError() { return Exception(SystemErrorText(GetLastError())); }

}  // namespace tarnwick
