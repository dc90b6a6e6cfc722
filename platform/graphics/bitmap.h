// CGImage: an immutable bitmap of 8-bit premultiplied pixels in Cairo's native ARGB32 layout
// (one host-endian 32-bit word per pixel, alpha in the high byte), so images are drawn without
// conversion. Shared by reference: images, filters and contexts pass the same pixels around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct CGImage {
    int width = 0, height = 0;
    // Every pixel has alpha 255 (drawing can then copy instead of blending).
    bool opaque = false;
    // Every pixel has the value of the first (drawing can then fill instead of resampling).
    bool solid = false;
    // Rows are packed: 4 * width bytes each (Cairo's stride for ARGB32).
    std::size_t bytesPerRow() const { return std::size_t(width) * 4; }
    std::size_t pixelCount() const { return std::size_t(width) * std::size_t(height); }
    const std::uint32_t* pixels() const { return data.get(); }
    const std::uint32_t* row(int y) const { return data.get() + std::size_t(y) * width; }

    std::shared_ptr<std::uint32_t[]> data;
};
using CGImageRef = std::shared_ptr<const CGImage>;

// Uninitialised pixel memory; nil when refused. Large blocks come from a small pool of recently
// freed ones, because touching fresh memory costs a page fault per 4 KiB, which is more than
// the work done on it.
std::shared_ptr<std::uint32_t[]> allocatePixels(std::size_t count);

// A bitmap of the given size with uninitialised pixels, for the producer to fill before sharing
// it. Nil for an empty or over-limit size.
std::shared_ptr<CGImage> CGImageAllocate(int width, int height);
inline std::size_t CGImageGetWidth(const CGImageRef& image) {
    return image ? std::size_t(image->width) : 0;
}
inline std::size_t CGImageGetHeight(const CGImageRef& image) {
    return image ? std::size_t(image->height) : 0;
}

// Pixel channels of an ARGB32 word.
inline std::uint32_t pixelAlpha(std::uint32_t p) {
    return p >> 24;
}
inline std::uint32_t pixelRed(std::uint32_t p) {
    return (p >> 16) & 0xff;
}
inline std::uint32_t pixelGreen(std::uint32_t p) {
    return (p >> 8) & 0xff;
}
inline std::uint32_t pixelBlue(std::uint32_t p) {
    return p & 0xff;
}
inline std::uint32_t packPixel(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// The straight (un-premultiplied) colour of a premultiplied pixel, rounded to nearest; a
// transparent pixel reads as transparent black. Opaque pixels are returned unchanged.
inline std::uint32_t unpremultiplyPixel(std::uint32_t p) {
    std::uint32_t a = pixelAlpha(p);
    if (a == 255) return p;
    if (a == 0) return 0;
    auto div = [a](std::uint32_t c) {
        std::uint32_t v = (c * 255 + a / 2) / a;
        return v > 255 ? 255u : v;
    };
    return packPixel(a, div(pixelRed(p)), div(pixelGreen(p)), div(pixelBlue(p)));
}
