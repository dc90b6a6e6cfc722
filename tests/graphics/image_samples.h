// Sample images made in memory for the image tests (no files, no third-party samples).
#pragma once

#include "bench/jpeg_encode.h"
#include "platform/foundation/foundation.h"
#include "platform/graphics/graphics.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <png.h>
#include <vector>

namespace samples {

using Bytes = std::vector<std::uint8_t>;
using Pixels = std::function<std::uint32_t(int x, int y)>; // premultiplied ARGB32 words

// `pixel(x, y, rgb)` writes r, g, b (grey: the first byte only).
inline Bytes jpeg(int width, int height, const std::function<void(int, int, std::uint8_t*)>& pixel,
                  JPEGOptions options = {}) {
    std::size_t components = options.grey ? 1 : options.cmyk ? 4 : 3;
    auto fill = [&](int y, std::uint8_t* row) {
        // Inverted (Adobe) CMYK without black stores 255 - ink, which is RGB.
        for (int x = 0; x < width; ++x) {
            pixel(x, y, &row[std::size_t(x) * components]);
            if (options.cmyk) row[x * 4 + 3] = 255;
        }
    };
    return encodeJPEGBytes(width, height, fill, options);
}

// A PNG from raw rows of the given colour type and bit depth (libpng constants); optional
// palette (RGB triples) and transparency chunk.
inline Bytes png(int width, int height, int colorType, int bitDepth, const std::vector<Bytes>& rows,
                 const Bytes& palette = {}, const Bytes& transparency = {},
                 bool interlaced = false) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) return png_destroy_write_struct(&png, &info), Bytes{};
    auto append = [](png_structp png, png_bytep data, png_size_t n) {
        auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
        out->insert(out->end(), data, data + n);
    };
    png_set_write_fn(png, &out, append, [](png_structp) {});
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(palette.data()),
                     int(palette.size() / 3));
    if (!transparency.empty())
        png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (auto& r : rows)
        pointers.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A photograph-like picture: smooth gradients, soft blobs, a few hard edges and fine noise.
inline void photo(int x, int y, std::uint8_t* rgb) {
    double fx = x / 97.0, fy = y / 113.0;
    double blob = std::exp(-((x - 300.0) * (x - 300.0) + (y - 240.0) * (y - 240.0)) / 9000.0);
    double r = 120 + 80 * std::sin(fx) * std::cos(fy * 0.7) + 60 * blob;
    double g = 100 + 70 * std::cos(fx * 0.6 + fy) - 40 * blob;
    double b = 90 + 60 * std::sin(fy * 1.3 - fx * 0.4);
    if ((x / 150 + y / 170) % 4 == 0) r *= 0.6, g *= 0.6; // hard-edged shapes
    unsigned noise = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u);
    double n = double((noise >> 7) % 13) - 6;
    auto clamp = [](double v) { return std::uint8_t(std::fmin(255, std::fmax(0, v))); };
    rgb[0] = clamp(r + n), rgb[1] = clamp(g + n), rgb[2] = clamp(b + n);
}

// A bitmap filled by `pixel`.
inline CGImageRef bitmap(int width, int height, const Pixels& pixel) {
    auto image = CGImageAllocate(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->data[std::size_t(y) * width + x] = pixel(x, y);
    return image;
}
inline Ref<UIImage> image(int width, int height, const Pixels& pixel) {
    return UIImage::imageWithCGImage(bitmap(width, height, pixel));
}

inline CGImageRef photoBitmap(int width, int height) {
    return bitmap(width, height, [](int x, int y) {
        std::uint8_t rgb[3];
        photo(x, y, rgb);
        return packPixel(255, rgb[0], rgb[1], rgb[2]);
    });
}

inline Ref<UIImage> decode(const Bytes& bytes) {
    return UIImage::imageWithData(NSData::make(bytes));
}
inline std::uint32_t at(const UIImage* image, int x, int y) {
    return image->CGImage()->row(y)[x];
}

// The largest difference of any channel between a(x, y) and b(x, y) over `r`.
inline int maxDifference(const Pixels& a, const Pixels& b, PixelRect r) {
    int worst = 0;
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x)
            for (int shift = 0; shift < 32; shift += 8)
                worst = std::max(worst, std::abs(int((a(x, y) >> shift) & 0xff) -
                                                 int((b(x, y) >> shift) & 0xff)));
    return worst;
}
inline int maxDifference(const UIImage* a, const UIImage* b) {
    return maxDifference([&](int x, int y) { return at(a, x, y); },
                         [&](int x, int y) { return at(b, x, y); },
                         {0, 0, a->CGImage()->width, a->CGImage()->height});
}

} // namespace samples
