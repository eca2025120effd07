#pragma once

#include <optional>
#include <string>

#include "settings/DateText.h"

namespace tarnwick {

// The platform's own locale-aware reading of a date or time text, for the
// user's default locale, which the date reads try before the portable
// reader. Nothing when it does not read the text, and always nothing on a
// platform without one.
std::optional<TDateTime> ParsePlatformDateTime(const std::wstring& Text);

}  // namespace tarnwick
