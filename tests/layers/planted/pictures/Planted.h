#pragma once

// Includes the layer check must refuse: one up, one sideways, one without
// its folder; and one it must let through.
#include "watch/Main.h"
#include "settings/XMLIniFiles.h"
#include "Picture.h"
#include "base/Utf.h"
