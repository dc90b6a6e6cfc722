// Gaussian blur: three box passes of matched variance, vertical and horizontal fused into one
// streaming pass over the source (ring buffers of running sums), or the exact kernel for small
// sigmas. Integer sums keep the result exact up to the final rounding.
#pragma GCC optimize("O3")
#include "platform/graphics/blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr double kMaxSigma = 100;
// Below this the boxes would be too coarse; the exact kernel is cheap there anyway.
constexpr double kMinBoxSigma = 4;

struct Boxes {
    int width[3];
    int spread;       // sum of the half widths
    double divisor;   // product of the widths
    int fractionBits; // precision kept between the two directions
};

Boxes boxesFor(double sigma) {
    Boxes b{};
    double ideal = std::sqrt(4 * sigma * sigma + 1);
    int wl = int(std::floor(ideal));
    if (wl % 2 == 0) --wl;
    wl = std::max(wl, 1);
    int m =
        int(std::lround((12 * sigma * sigma - 3.0 * wl * wl - 12.0 * wl - 9) / (-4.0 * wl - 4)));
    m = std::clamp(m, 0, 3);
    b.spread = 0;
    b.divisor = 1;
    for (int i = 0; i < 3; ++i) {
        b.width[i] = i < m ? wl : wl + 2;
        b.spread += b.width[i] / 2;
        b.divisor *= b.width[i];
    }
    // 255 * 2^f * divisor must fit in 31 bits for the horizontal sums (converted as signed).
    double room = 2147483647.0 / (255 * b.divisor);
    b.fractionBits = std::clamp(int(std::floor(std::log2(room))), 0, 8);
    return b;
}

// One row of the vertical pass, all three stages at once: sum0 over the source rows, sum1 over
// the last w1 values of sum0 (ring1), sum2 over the last w2 values of sum1 (ring2).
__attribute__((target_clones("avx2", "default"))) void
verticalStep(const std::uint8_t* in, const std::uint8_t* leaving, std::uint16_t* sum0,
             std::uint16_t* ring1, std::uint32_t* sum1, std::uint32_t* ring2, std::uint32_t* sum2,
             std::size_t channels) {
#pragma GCC ivdep
    for (std::size_t c = 0; c < channels; ++c) {
        std::uint16_t s0 = std::uint16_t(sum0[c] + in[c] - leaving[c]);
        sum0[c] = s0;
        std::uint32_t s1 = sum1[c] + s0 - ring1[c];
        ring1[c] = s0;
        sum1[c] = s1;
        sum2[c] = sum2[c] + s1 - ring2[c];
        ring2[c] = s1;
    }
}

__attribute__((target_clones("avx2", "default"))) void
normaliseRow(const std::int32_t* sums, std::int32_t* out, float scale, std::size_t channels) {
    for (std::size_t c = 0; c < channels; ++c)
        out[c] = std::int32_t(float(sums[c]) * scale + 0.5f);
}

// Four channels of one pixel as one vector.
typedef std::uint32_t Pixel4 __attribute__((vector_size(16)));

Pixel4 load(const Pixel4* p, std::size_t i) {
    return p[i];
}

// A running box sum: out[i] = in[i] + ... + in[i + w - 1]. Two rows at once, so that their
// dependency chains overlap.
template <class In>
void boxRows(const In* a, const In* b, std::size_t inPixels, int w, Pixel4* outA, Pixel4* outB) {
    Pixel4 sa = {}, sb = {};
    for (int j = 0; j < w; ++j)
        sa += load(a, j), sb += load(b, j);
    outA[0] = sa, outB[0] = sb;
    const std::size_t outPixels = inPixels - w + 1;
    for (std::size_t i = 1; i < outPixels; ++i) {
        sa += load(a, i + w - 1) - load(a, i - 1);
        sb += load(b, i + w - 1) - load(b, i - 1);
        outA[i] = sa, outB[i] = sb;
    }
}

// Four pixels at a time: sums to floats, scaled, rounded and packed back to bytes.
void finishRow(const Pixel4* sums, std::uint32_t* out, std::size_t pixels, float scale) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128 k = _mm_set1_ps(scale), half = _mm_set1_ps(0.5f);
    auto pixel = [&](std::size_t j) {
        __m128i v;
        std::memcpy(&v, &sums[j], 16);
        return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_cvtepi32_ps(v), k), half));
    };
    for (; i + 4 <= pixels; i += 4) {
        __m128i low = _mm_packs_epi32(pixel(i), pixel(i + 1));
        __m128i high = _mm_packs_epi32(pixel(i + 2), pixel(i + 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
#endif
    for (; i < pixels; ++i) {
        std::uint32_t p = 0;
        for (int c = 3; c >= 0; --c)
            p = p << 8 | std::uint32_t(float(std::int32_t(sums[i][c])) * scale + 0.5f);
        out[i] = p;
    }
}

struct Scratch {
    std::vector<std::uint16_t> sum0, ring1;
    std::vector<std::uint32_t> sum1, sum2, ring2;
    std::vector<Pixel4> rows[2];
    std::vector<Pixel4> t[2][3];
    std::vector<std::uint8_t> zero;
};

// Rows of `out` in order: target(y) is where row y goes, done(y) follows once it is there.
template <class Target, class Done>
bool boxBlur(const PixelView& src, double sigma, PixelRect out, Target target, Done done) {
    Boxes b = boxesFor(sigma);
    const int R = b.spread, W = out.width, H = out.height;
    PixelView a = pixelsOver(src, {out.x - R, out.y - R, W + 2 * R, H + 2 * R});
    if (!a.data) return false;
    const std::size_t px = std::size_t(W) + 2 * R, channels = px * 4;
    const int w0 = b.width[0], w1 = b.width[1], w2 = b.width[2];

    // Scratch kept between calls: fresh memory would cost a page fault per 4 KiB.
    thread_local Scratch s;
    auto zeroed = [](auto& v, std::size_t n) { v.assign(n, 0); };
    zeroed(s.sum0, channels), zeroed(s.ring1, channels * w1), zeroed(s.zero, channels);
    zeroed(s.sum1, channels), zeroed(s.sum2, channels), zeroed(s.ring2, channels * w2);
    for (auto& r : s.rows)
        r.resize(px);
    for (auto& pair : s.t)
        for (auto& v : pair)
            v.resize(px);
    auto& sum0 = s.sum0;
    auto& ring1 = s.ring1;
    auto& sum1 = s.sum1;
    auto& sum2 = s.sum2;
    auto& ring2 = s.ring2;
    auto& rows = s.rows;
    auto& t = s.t;
    auto& zero = s.zero;
    const float toRow = float(std::ldexp(1.0, b.fractionBits) / b.divisor);
    const float toPixel = float(1.0 / (b.divisor * std::ldexp(1.0, b.fractionBits)));

    // The horizontal passes over the rows waiting in `rows`, written out from row `y`.
    auto horizontal = [&](int count, int y) {
        const Pixel4* second = rows[count - 1].data();
        boxRows(rows[0].data(), second, px, w0, t[0][0].data(), t[1][0].data());
        boxRows(t[0][0].data(), t[1][0].data(), px - w0 + 1, w1, t[0][1].data(), t[1][1].data());
        boxRows(t[0][1].data(), t[1][1].data(), px - w0 - w1 + 2, w2, t[0][2].data(),
                t[1][2].data());
        for (int i = 0; i < count; ++i) {
            finishRow(t[i][2].data(), target(y + i), std::size_t(W), toPixel);
            done(y + i);
        }
    };
    auto bytes = [&](int row) {
        return reinterpret_cast<const std::uint8_t*>(a.row(a.rect.y + row));
    };
    int waiting = 0;
    for (int row = 0; row < H + 2 * R; ++row) {
        const std::uint8_t* leaving = row >= w0 ? bytes(row - w0) : zero.data();
        verticalStep(bytes(row), leaving, sum0.data(), ring1.data() + (row % w1) * channels,
                     sum1.data(), ring2.data() + (row % w2) * channels, sum2.data(), channels);
        if (row < 2 * R) continue;
        normaliseRow(reinterpret_cast<const std::int32_t*>(sum2.data()),
                     reinterpret_cast<std::int32_t*>(rows[waiting].data()), toRow, channels);
        if (++waiting == 2 || row == H + 2 * R - 1) {
            horizontal(waiting, out.y + row - 2 * R - (waiting - 1));
            waiting = 0;
        }
    }
    return true;
}

std::vector<float> gaussianKernel(double sigma, int radius) {
    std::vector<float> k(2 * radius + 1);
    double total = 0;
    for (int i = -radius; i <= radius; ++i)
        total += std::exp(-0.5 * i * i / (sigma * sigma));
    for (int i = -radius; i <= radius; ++i)
        k[i + radius] = float(std::exp(-0.5 * i * i / (sigma * sigma)) / total);
    return k;
}

} // namespace

int gaussianSpread(double sigma) {
    if (!(sigma > 0)) return 0;
    return int(std::ceil(3 * std::min(sigma, kMaxSigma) - 1e-9));
}

bool gaussianBlurExact(const PixelView& src, double sigma, PixelBuffer& dst) {
    if (!dst.data) return false;
    const int K = gaussianSpread(sigma), W = dst.rect.width, H = dst.rect.height;
    if (K == 0) {
        PixelView v = pixelsOver(src, dst.rect);
        if (!v.data) return false;
        for (int y = 0; y < H; ++y)
            std::memcpy(dst.row(dst.rect.y + y), v.row(v.rect.y + y), std::size_t(W) * 4);
        return true;
    }
    PixelView a = pixelsOver(src, {dst.rect.x - K, dst.rect.y - K, W + 2 * K, H + 2 * K});
    if (!a.data) return false;
    std::vector<float> k = gaussianKernel(std::min(sigma, kMaxSigma), K);
    const int rows = H + 2 * K;
    std::vector<float> mid(std::size_t(W) * rows * 4);
    for (int y = 0; y < rows; ++y) {
        auto* in = reinterpret_cast<const std::uint8_t*>(a.row(a.rect.y + y));
        float* out = mid.data() + std::size_t(y) * W * 4;
        for (int x = 0; x < W; ++x)
            for (int c = 0; c < 4; ++c) {
                float s = 0;
                for (int i = 0; i <= 2 * K; ++i)
                    s += k[i] * in[(x + i) * 4 + c];
                out[x * 4 + c] = s;
            }
    }
    for (int y = 0; y < H; ++y) {
        auto* out = reinterpret_cast<std::uint8_t*>(dst.row(dst.rect.y + y));
        for (int x = 0; x < W * 4; ++x) {
            float s = 0;
            for (int i = 0; i <= 2 * K; ++i)
                s += k[i] * mid[std::size_t(y + i) * W * 4 + x];
            out[x] = std::uint8_t(std::clamp(s + 0.5f, 0.0f, 255.0f));
        }
    }
    return true;
}

bool gaussianBlur(const PixelView& src, double sigma, PixelBuffer& dst) {
    if (!dst.data) return false;
    if (sigma < kMinBoxSigma) return gaussianBlurExact(src, sigma, dst);
    return boxBlur(
        src, std::min(sigma, kMaxSigma), dst.rect, [&](int y) { return dst.row(y); }, [](int) {});
}

bool gaussianBlurRows(const PixelView& src, double sigma, PixelRect rect,
                      const std::function<std::uint32_t*(int y)>& row,
                      const std::function<void(int y)>& done) {
    if (rect.empty()) return false;
    if (sigma >= kMinBoxSigma) return boxBlur(src, std::min(sigma, kMaxSigma), rect, row, done);
    PixelBuffer all = PixelBuffer::make(rect);
    if (!all.data || !gaussianBlurExact(src, sigma, all)) return false;
    for (int y = rect.y; y < rect.bottom(); ++y) {
        std::memcpy(row(y), all.row(y), std::size_t(rect.width) * 4);
        done(y);
    }
    return true;
}
