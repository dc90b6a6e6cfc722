// Motion blur: the mean of 2n + 1 copies of the source shifted along the direction, summed row
// by row into an integer accumulator (one vectorised add per tap and channel). After the
// Gaussian it can take the Gaussian's rows as they are made, from a ring of a few rows.
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

// Output row y of `dst` from the source rows that rowAt(y') gives (each starting at x = a.x).
template <class Acc, class RowAt>
void motionRow(const MotionKernel& k, PixelBuffer& dst, int ax, int y, RowAt rowAt) {
    const std::size_t channels = std::size_t(dst.rect.width) * 4;
    // Kept between rows and calls (storeRow leaves it zeroed): no fresh pages each time.
    thread_local std::vector<Acc> acc;
    if (acc.size() != channels) acc.assign(channels, 0);
    for (int t = -k.n; t <= k.n; ++t) {
        int dx = k.horizontal ? t : k.offsets[t + k.n];
        int dy = k.horizontal ? k.offsets[t + k.n] : t;
        const std::uint32_t* row = rowAt(y + dy) + (dst.rect.x + dx - ax);
        addRow(acc.data(), reinterpret_cast<const std::uint8_t*>(row), channels);
    }
    storeRow(acc.data(), reinterpret_cast<std::uint8_t*>(dst.row(y)), 1.0f / float(2 * k.n + 1),
             channels);
}

template <class RowAt>
void motionRow(const MotionKernel& k, PixelBuffer& dst, int ax, int y, RowAt rowAt) {
    if (255 * (2 * k.n + 1) <= 65535)
        motionRow<std::uint16_t>(k, dst, ax, y, rowAt);
    else
        motionRow<std::uint32_t>(k, dst, ax, y, rowAt);
}

PixelRect sourceRect(const MotionKernel& k, const PixelRect& out) {
    return {out.x - k.spreadX, out.y - k.spreadY, out.width + 2 * k.spreadX,
            out.height + 2 * k.spreadY};
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
    PixelView a = pixelsOver(src, sourceRect(kernel, dst.rect));
    if (!a.data) return false;
    for (int y = dst.rect.y; y < dst.rect.bottom(); ++y)
        motionRow(kernel, dst, a.rect.x, y, [&](int row) { return a.row(row); });
    return true;
}

bool gaussianThenMotionBlur(const PixelView& src, double sigma, const MotionKernel& kernel,
                            PixelBuffer& dst) {
    if (!dst.data) return false;
    PixelRect middle = sourceRect(kernel, dst.rect);
    // The Gaussian's rows a motion row reaches, the two the Gaussian writes at a time, and a
    // batch: motion rows are made a batch at a time, which keeps each loop's data in cache.
    constexpr int kBatch = 16;
    const int slots = 2 * kernel.spreadY + 3 + kBatch;
    const std::size_t stride = std::size_t(middle.width);
    thread_local std::vector<std::uint32_t> ring;
    ring.resize(stride * std::size_t(slots));
    auto slot = [&](int y) {
        return ring.data() + std::size_t(((y - middle.y) % slots + slots) % slots) * stride;
    };
    int next = dst.rect.y; // the next motion row to make
    return gaussianBlurRows(src, sigma, middle, slot, [&](int y) {
        for (; next < dst.rect.bottom() && next + kernel.spreadY <= y; ++next)
            motionRow(kernel, dst, middle.x, next, slot);
    });
}
