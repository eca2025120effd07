#pragma once

#include <memory>

#include "pictures/Picture.h"

namespace tarnwick {

// The picture shown when none is chosen: the JPEG stored in the program as
// the RCDATA resource "BUILTIN", decoded on first use and kept, one copy for
// every image that shows it. Raises EPictureError when the resource is
// missing or cannot be decoded.
const std::shared_ptr<const TPicture>& BuiltinPicture();

}  // namespace tarnwick
