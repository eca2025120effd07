#include "settings/RegionalFormats.h"

namespace tarnwick {

// Without a platform locale the program keeps the fixed defaults.
TRegionalFormats UserRegionalFormats() { return {}; }

}  // namespace tarnwick
