#pragma once

#include <cstdint>
#include <vector>

#include "pictures/Picture.h"
#include "pictures/PictureLimits.h"

// GIF through giflib's record-level API: transparency, interlacing, the
// three disposals, per-frame delays and the loop count of the NETSCAPE2.0
// extension. An animation keeps the file's bytes and composites its frames
// as they are shown (TFramePlayer); its first frame, or a single frame, is
// decoded as a still's.
namespace tarnwick {

// Raises EPictureError with the reason (giflib's own words for its errors),
// also when any frame is damaged: every frame is read here once, so nothing
// is refused later. A file that only lacks its final trailer byte is read
// whole. The frame decoded is kept at most MaxLongSide on its long side.
TPicture DecodeGif(std::vector<std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits);

}  // namespace tarnwick
