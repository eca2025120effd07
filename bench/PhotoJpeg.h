#pragma once

#include "support/PictureEncoders.h"

// A stand-in for a camera photo, made at start so that no picture file
// needs to be kept in the repository.
namespace tarnwick::bench {

// A Width x Height JPEG at Quality: soft shapes at several scales with
// sensor-like grain over them, so that its entropy-coded data is about as
// dense as a photo's (some 2 bits a pixel at quality 90), not the near-empty
// data of a smooth gradient. Without Grain (and its finest detail) it is a
// smoother picture, as a phone's noise reduction leaves one.
picture_tests::Bytes MakePhotoJpeg(int Width, int Height, int Quality, bool Grain = true);

}  // namespace tarnwick::bench
