#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// Text with every %NAME% reference to a defined environment variable replaced
// by its value; references to undefined variables stay as they are.
std::wstring ExpandEnvironment(std::wstring_view Text);

}  // namespace tarnwick
