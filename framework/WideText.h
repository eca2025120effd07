#pragma once

#include <string>
#include <string_view>

// Conversions between the window system's UTF-16 and the UTF-8 that error
// messages carry. Broken sequences become U+FFFD; nothing fails.
namespace tarnwick {

std::wstring Utf8ToWide(std::string_view Text);
std::string WideToUtf8(std::wstring_view Text);

}  // namespace tarnwick
