// The arithmetic follows Cairo's (pixman's) 8-bit rounding: x * y / 255 as
// t = x * y + 128; (t + (t >> 8)) >> 8.
#pragma GCC optimize("O3")
#include "platform/graphics/composite.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

inline std::uint32_t mul255(std::uint32_t x, std::uint32_t y) {
    std::uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

// The same rounding in 16 bits (x * y + 128 + its top byte stays below 65536), so that twice
// as many channels fit a vector.
inline std::uint16_t mul255Narrow(std::uint16_t x, std::uint16_t y) {
    std::uint16_t t = std::uint16_t(x * y + 128);
    return std::uint16_t((t + (t >> 8)) >> 8);
}

__attribute__((target_clones("avx2", "default"))) void screenRow(std::uint8_t* __restrict d,
                                                                 const std::uint8_t* __restrict s,
                                                                 std::size_t bytes,
                                                                 std::uint32_t m) {
    const std::uint16_t k = std::uint16_t(m);
    for (std::size_t i = 0; i < bytes; ++i) {
        std::uint16_t sv = mul255Narrow(s[i], k), dv = d[i];
        d[i] = std::uint8_t(sv + dv - mul255Narrow(sv, dv));
    }
}

// Source over opaque black keeps the source's colour and makes it opaque (so does screen).
__attribute__((target_clones("avx2", "default"))) void
overBlackRow(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i)
        d[i] = s[i] | 0xff000000u;
}

__attribute__((target_clones("avx2", "default"))) void overRow(std::uint32_t* __restrict d,
                                                               const std::uint32_t* __restrict s,
                                                               std::size_t pixels,
                                                               std::uint32_t m) {
    // Premultiplied sources never exceed 255 here: sc <= sa, so sc + dc (255 - sa) / 255 fits.
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint32_t sp = s[i], dp = d[i];
        std::uint32_t sa = mul255(sp >> 24, m), keep = 255 - sa;
        std::uint32_t a = sa + mul255(dp >> 24, keep);
        std::uint32_t r = mul255((sp >> 16) & 0xff, m) + mul255((dp >> 16) & 0xff, keep);
        std::uint32_t g = mul255((sp >> 8) & 0xff, m) + mul255((dp >> 8) & 0xff, keep);
        std::uint32_t b = mul255(sp & 0xff, m) + mul255(dp & 0xff, keep);
        d[i] = a << 24 | r << 16 | g << 8 | b;
    }
}

} // namespace

void compositeAligned(std::uint32_t* dst, int dstWidth, int dstHeight, const CGImage& src,
                      PixelRect at, bool screen, double alpha, bool dstClear, bool dstBlack) {
    PixelRect visible = at.intersect({0, 0, dstWidth, dstHeight});
    if (visible.empty() || alpha <= 0) return;
    std::uint32_t m = std::uint32_t(std::lround(std::min(alpha, 1.0) * 255));
    if (m == 255 && dstBlack) {
        for (int y = visible.y; y < visible.bottom(); ++y)
            overBlackRow(dst + std::size_t(y) * dstWidth + visible.x,
                         src.row(y - at.y) + (visible.x - at.x), std::size_t(visible.width));
        return;
    }
    // Over (or screen) at full strength onto transparent pixels, or an opaque source over
    // anything, is a copy.
    if (m == 255 && (dstClear || (!screen && src.opaque))) {
        for (int y = visible.y; y < visible.bottom(); ++y)
            std::memcpy(dst + std::size_t(y) * dstWidth + visible.x,
                        src.row(y - at.y) + (visible.x - at.x), std::size_t(visible.width) * 4);
        return;
    }
    for (int y = visible.y; y < visible.bottom(); ++y) {
        std::uint32_t* d = dst + std::size_t(y) * dstWidth + visible.x;
        const std::uint32_t* s = src.row(y - at.y) + (visible.x - at.x);
        if (screen)
            screenRow(reinterpret_cast<std::uint8_t*>(d), reinterpret_cast<const std::uint8_t*>(s),
                      std::size_t(visible.width) * 4, m);
        else
            overRow(d, s, std::size_t(visible.width), m);
    }
}
