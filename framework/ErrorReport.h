#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// The text of the standard error report for an error's message: the
// message, with "." appended when its last character's code is greater
// than that of "." (so "abc" and "。" get one, "abc." and "abc!" do not).
std::wstring ErrorReportText(std::wstring_view Message);

}  // namespace tarnwick
