// Encoded sample images made in memory for the image tests (no files, no third-party samples).
#pragma once

#include "platform/graphics/graphics.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace samples {

using Bytes = std::vector<std::uint8_t>;
// r, g, b for pixel (x, y).
using RGB = std::function<void(int x, int y, std::uint8_t* rgb)>;

struct JPEGOptions {
    bool progressive = false;
    bool grey = false;
    bool cmyk = false; // written as Adobe-style inverted CMYK
    int quality = 90;
};
Bytes jpeg(int width, int height, const RGB& pixel, JPEGOptions options = {});

// A PNG from raw rows of the given colour type and bit depth (libpng constants); optional
// palette (RGB triples) and transparency chunk.
Bytes png(int width, int height, int colorType, int bitDepth, const std::vector<Bytes>& rows,
          const Bytes& palette = {}, const Bytes& transparency = {}, bool interlaced = false);

// A photograph-like picture: smooth gradients, soft blobs, a few hard edges and fine noise.
void photo(int x, int y, std::uint8_t* rgb);
// A bitmap filled by `pixel` (premultiplied ARGB32 words).
CGImageRef bitmap(int width, int height, const std::function<std::uint32_t(int, int)>& pixel);

} // namespace samples
