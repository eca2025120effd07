#pragma once

#include <string>

namespace tarnwick {

// The system's text for a Windows error code, in the user's language, as
// UTF-8 without the trailing line break; "error N" when it has none.
std::string SystemErrorText(unsigned long Code);

}  // namespace tarnwick
