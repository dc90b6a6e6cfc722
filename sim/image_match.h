// `match`: a rendered screen against a golden image, and the picture of where they differ.
#pragma once

#include "platform/graphics/bitmap.h"

#include <cstdint>
#include <string>

namespace sim {

struct ImageDifference {
    long differing = 0; // pixels with a channel off by more than the allowed difference
    long pixels = 0;
    int largest = 0; // the largest channel difference, 0 to 255
    // The actual image dimmed to a quarter, with the differing pixels in magenta.
    CGImageRef diff;
};

// Compares two images of the same size channel by channel (alpha included).
ImageDifference compareImages(const CGImage& actual, const CGImage& golden, int perPixel);

// Reads a golden PNG; nil with the reason in `problem` when it is missing (`*missing` set), not
// a regular file, over 64 MiB or not a PNG that decodes.
CGImageRef readGolden(const std::string& path, std::string* problem, bool* missing);

} // namespace sim
