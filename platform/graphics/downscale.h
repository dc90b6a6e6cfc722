// Area-average reduction of a bitmap to a smaller whole-pixel size: each destination pixel is
// the mean of the source area it covers (partly covered source pixels by their share). This is
// what drawing an image into a much smaller rectangle means; done here in one pass over the
// source instead of Cairo's general resampling.
#pragma once

#include "platform/graphics/bitmap.h"

// Nil when the target is empty or larger than the source.
std::shared_ptr<CGImage> CGImageDownscaleArea(const CGImage& src, int width, int height);
