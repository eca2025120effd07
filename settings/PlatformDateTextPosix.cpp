#include "settings/PlatformDateText.h"

namespace tarnwick {

// No locale-aware parser here: the portable reader reads alone.
std::optional<TDateTime> ParsePlatformDateTime(const std::wstring&) { return std::nullopt; }

}  // namespace tarnwick
