// The arithmetic follows Cairo's (pixman's) 8-bit rounding: x * y / 255 as
// t = x * y + 128; (t + (t >> 8)) >> 8.
#pragma GCC optimize("O3")
#include "platform/graphics/composite.h"

#include <algorithm>
#include <cmath>

namespace {

inline std::uint32_t mul255(std::uint32_t x, std::uint32_t y) {
    std::uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

__attribute__((target_clones("avx2", "default"))) void screenRow(std::uint8_t* __restrict d,
                                                                 const std::uint8_t* __restrict s,
                                                                 std::size_t bytes,
                                                                 std::uint32_t m) {
    for (std::size_t i = 0; i < bytes; ++i) {
        std::uint32_t sv = mul255(s[i], m);
        d[i] = std::uint8_t(sv + d[i] - mul255(sv, d[i]));
    }
}

__attribute__((target_clones("avx2", "default"))) void overRow(std::uint32_t* __restrict d,
                                                               const std::uint32_t* __restrict s,
                                                               std::size_t pixels,
                                                               std::uint32_t m) {
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint32_t sp = s[i], dp = d[i];
        std::uint32_t sa = mul255(sp >> 24, m), keep = 255 - sa;
        std::uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            std::uint32_t sc = mul255((sp >> shift) & 0xff, m);
            std::uint32_t v = sc + mul255((dp >> shift) & 0xff, keep);
            out |= std::min(v, 255u) << shift;
        }
        d[i] = out;
    }
}

} // namespace

void compositeAligned(std::uint32_t* dst, int dstWidth, int dstHeight, const CGImage& src,
                      PixelRect at, bool screen, double alpha) {
    PixelRect visible = at.intersect({0, 0, dstWidth, dstHeight});
    if (visible.empty() || alpha <= 0) return;
    std::uint32_t m = std::uint32_t(std::lround(std::min(alpha, 1.0) * 255));
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
