// Motion blur: the mean of 2n + 1 copies of the source shifted along the direction, summed row
// by row into an integer accumulator (one vectorised add per tap and channel).
#pragma GCC optimize("O3")
#include "platform/graphics/blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kMaxTaps = 512;

template <class Acc>
__attribute__((target_clones("avx2", "default"))) void addRow(Acc* acc, const std::uint8_t* in,
                                                              std::size_t channels) {
    for (std::size_t c = 0; c < channels; ++c)
        acc[c] += in[c];
}

template <class Acc>
__attribute__((target_clones("avx2", "default"))) void storeRow(Acc* acc, std::uint8_t* out,
                                                                float scale, std::size_t channels) {
    for (std::size_t c = 0; c < channels; ++c) {
        out[c] = std::uint8_t(float(acc[c]) * scale + 0.5f);
        acc[c] = 0;
    }
}

template <class Acc> bool run(const PixelView& src, const MotionKernel& k, PixelBuffer& dst) {
    const int W = dst.rect.width, H = dst.rect.height;
    PixelView a = pixelsOver(src, {dst.rect.x - k.spreadX, dst.rect.y - k.spreadY,
                                   W + 2 * k.spreadX, H + 2 * k.spreadY});
    if (!a.data) return false;
    const std::size_t channels = std::size_t(W) * 4;
    thread_local std::vector<Acc> acc; // kept between calls (no fresh pages each time)
    acc.assign(channels, 0);
    const float scale = 1.0f / float(2 * k.n + 1);
    for (int y = dst.rect.y; y < dst.rect.bottom(); ++y) {
        for (int t = -k.n; t <= k.n; ++t) {
            int dx = k.horizontal ? t : k.offsets[t + k.n];
            int dy = k.horizontal ? k.offsets[t + k.n] : t;
            const std::uint32_t* row = a.row(y + dy) + (dst.rect.x + dx - a.rect.x);
            addRow(acc.data(), reinterpret_cast<const std::uint8_t*>(row), channels);
        }
        storeRow(acc.data(), reinterpret_cast<std::uint8_t*>(dst.row(y)), scale, channels);
    }
    return true;
}

} // namespace

MotionKernel motionKernel(double radius, double angle) {
    MotionKernel k;
    if (!(radius > 0) || !std::isfinite(angle)) return k;
    radius = std::min(radius, double(kMaxTaps));
    // Rows run downwards here, so the direction's y component changes sign.
    double dx = std::cos(angle), dy = -std::sin(angle);
    k.horizontal = std::fabs(dx) >= std::fabs(dy);
    double major = k.horizontal ? dx : dy, minor = k.horizontal ? dy : dx;
    k.n = int(std::lround(radius * std::fabs(major)));
    for (int t = -k.n; t <= k.n; ++t) {
        int off = int(std::lround(t * minor / major));
        k.offsets[t + k.n] = off;
        int& spreadMinor = k.horizontal ? k.spreadY : k.spreadX;
        spreadMinor = std::max(spreadMinor, std::abs(off));
    }
    (k.horizontal ? k.spreadX : k.spreadY) = k.n;
    return k;
}

bool motionBlur(const PixelView& src, const MotionKernel& kernel, PixelBuffer& dst) {
    if (!dst.data) return false;
    if (255 * (2 * kernel.n + 1) <= 65535) return run<std::uint16_t>(src, kernel, dst);
    return run<std::uint32_t>(src, kernel, dst);
}
