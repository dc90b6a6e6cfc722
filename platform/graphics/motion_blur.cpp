// Motion blur: the mean of 2n + 1 copies of the source shifted along the direction, summed row
// by row into an integer accumulator (one vectorised add per tap and channel). After the
// Gaussian it can take the Gaussian's rows as they are made, from a ring of a few rows.
#pragma GCC optimize("O3")
#include "platform/graphics/blur.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

#if defined(__x86_64__) || defined(__i386__)
// Eight 16-bit sums scaled and rounded as storeRow does, as 32-bit values.
__attribute__((target("avx2"), always_inline)) inline __m256i roundedMeans(__m128i sums,
                                                                           __m256 scale) {
    __m256 f = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(sums));
    return _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(f, scale), _mm256_set1_ps(0.5f)));
}

// 32 channels at a time, the taps summed in registers and written once: the same sums and
// rounding as addRow and storeRow. Returns how many channels it did (a multiple of 32).
__attribute__((target("avx2"))) std::size_t sumTapsAVX2(const std::uint8_t* const* rows, int taps,
                                                        std::uint8_t* out, std::size_t channels,
                                                        float scale) {
    const __m256 k = _mm256_set1_ps(scale);
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    std::size_t c = 0;
    for (; c + 32 <= channels; c += 32) {
        __m256i low = _mm256_setzero_si256(), high = _mm256_setzero_si256();
        for (int t = 0; t < taps; ++t) {
            const std::uint8_t* p = rows[t] + c;
            low = _mm256_add_epi16(low, _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)p)));
            high = _mm256_add_epi16(
                high, _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)(p + 16))));
        }
        __m256i a = roundedMeans(_mm256_castsi256_si128(low), k);
        __m256i b = roundedMeans(_mm256_extracti128_si256(low, 1), k);
        __m256i d = roundedMeans(_mm256_castsi256_si128(high), k);
        __m256i e = roundedMeans(_mm256_extracti128_si256(high, 1), k);
        __m256i bytes = _mm256_packus_epi16(_mm256_packus_epi32(a, b), _mm256_packus_epi32(d, e));
        _mm256_storeu_si256((__m256i*)(out + c), _mm256_permutevar8x32_epi32(bytes, order));
    }
    return c;
}
#endif

// Output row y of `dst` from the source rows that rowAt(y') gives (each starting at x = a.x).
template <class Acc, class RowAt>
void motionRow(const MotionKernel& k, PixelBuffer& dst, int ax, int y, RowAt rowAt) {
    const std::size_t channels = std::size_t(dst.rect.width) * 4;
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (std::is_same_v<Acc, std::uint16_t> && avx2) {
        const std::uint8_t* rows[2 * kMaxTaps + 1];
        for (int t = -k.n; t <= k.n; ++t) {
            int dx = k.horizontal ? t : k.offsets[t + k.n];
            int dy = k.horizontal ? k.offsets[t + k.n] : t;
            rows[t + k.n] =
                reinterpret_cast<const std::uint8_t*>(rowAt(y + dy) + (dst.rect.x + dx - ax));
        }
        auto* out = reinterpret_cast<std::uint8_t*>(dst.row(y));
        float scale = 1.0f / float(2 * k.n + 1);
        std::size_t done = sumTapsAVX2(rows, 2 * k.n + 1, out, channels, scale);
        for (std::size_t c = done; c < channels; ++c) {
            std::uint32_t sum = 0;
            for (int t = 0; t <= 2 * k.n; ++t)
                sum += rows[t][c];
            out[c] = std::uint8_t(float(sum) * scale + 0.5f);
        }
        return;
    }
#endif
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
    bool ok = gaussianBlurRows(src, sigma, middle, slot, [&](int y) {
        for (; next < dst.rect.bottom() && next + kernel.spreadY <= y; ++next)
            motionRow(kernel, dst, middle.x, next, slot);
    });
    // Kept for the next background unless it is large (wide artwork, a large radius).
    if (ring.size() * sizeof(std::uint32_t) > (std::size_t(16) << 20))
        std::vector<std::uint32_t>().swap(ring);
    return ok;
}
