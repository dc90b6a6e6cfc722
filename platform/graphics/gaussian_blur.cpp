// Gaussian blur: three box passes of matched variance, vertical and horizontal fused into one
// streaming pass over the source (ring buffers of running sums), or the exact kernel for small
// sigmas. Integer sums keep the result exact up to the final rounding.
#pragma GCC optimize("O3")
#include "platform/graphics/blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double kMaxSigma = 100;
// Below this the boxes would be too coarse; the exact kernel is cheap there anyway.
constexpr double kMinBoxSigma = 3;

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
    // 255 * 2^f * divisor must fit in 32 bits for the horizontal sums.
    double room = 4294967295.0 / (255 * b.divisor);
    b.fractionBits = std::clamp(int(std::floor(std::log2(room))), 0, 8);
    return b;
}

// One row of the vertical pass, all three stages at once: sum0 over the source rows, sum1 over
// the last w1 values of sum0 (ring1), sum2 over the last w2 values of sum1 (ring2).
__attribute__((target_clones("avx2", "default"))) void
verticalStep(const std::uint8_t* in, const std::uint8_t* leaving, std::uint16_t* sum0,
             std::uint16_t* ring1, std::uint32_t* sum1, std::uint32_t* ring2, std::uint32_t* sum2,
             std::size_t channels) {
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
normaliseRow(const std::uint32_t* sums, std::uint16_t* out, float scale, std::size_t channels) {
    for (std::size_t c = 0; c < channels; ++c)
        out[c] = std::uint16_t(float(sums[c]) * scale + 0.5f);
}

// A running box sum over pixels of 4 channels: out[i] = in[i] + ... + in[i + w - 1].
template <class In> void boxRow(const In* in, std::size_t inPixels, int w, std::uint32_t* out) {
    std::uint32_t s[4] = {};
    for (int j = 0; j < w; ++j)
        for (int c = 0; c < 4; ++c)
            s[c] += in[j * 4 + c];
    std::size_t outPixels = inPixels - w + 1;
    for (int c = 0; c < 4; ++c)
        out[c] = s[c];
    for (std::size_t i = 1; i < outPixels; ++i)
        for (int c = 0; c < 4; ++c) {
            s[c] += std::uint32_t(in[(i + w - 1) * 4 + c]) - std::uint32_t(in[(i - 1) * 4 + c]);
            out[i * 4 + c] = s[c];
        }
}

void finishRow(const std::uint32_t* sums, std::uint32_t* out, std::size_t pixels, float scale) {
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint32_t* p = sums + i * 4;
        auto q = [&](int c) { return std::uint32_t(float(p[c]) * scale + 0.5f); };
        out[i] = (q(3) << 24) | (q(2) << 16) | (q(1) << 8) | q(0);
    }
}

bool boxBlur(const PixelView& src, double sigma, PixelBuffer& dst) {
    Boxes b = boxesFor(sigma);
    const int R = b.spread, W = dst.rect.width, H = dst.rect.height;
    PixelView a = pixelsOver(src, {dst.rect.x - R, dst.rect.y - R, W + 2 * R, H + 2 * R});
    if (!a.data) return false;
    const std::size_t px = std::size_t(W) + 2 * R, channels = px * 4;
    const int w0 = b.width[0], w1 = b.width[1], w2 = b.width[2];

    std::vector<std::uint16_t> sum0(channels), ring1(channels * w1), row(channels);
    std::vector<std::uint32_t> sum1(channels), sum2(channels), ring2(channels * w2);
    std::vector<std::uint32_t> t1(channels), t2(channels), t3(channels);
    std::vector<std::uint8_t> zero(channels);
    const float toRow = float(std::ldexp(1.0, b.fractionBits) / b.divisor);
    const float toPixel = float(1.0 / (b.divisor * std::ldexp(1.0, b.fractionBits)));

    auto bytes = [&](int t) { return reinterpret_cast<const std::uint8_t*>(a.row(a.rect.y + t)); };
    for (int t = 0; t < H + 2 * R; ++t) {
        const std::uint8_t* leaving = t >= w0 ? bytes(t - w0) : zero.data();
        verticalStep(bytes(t), leaving, sum0.data(), ring1.data() + (t % w1) * channels,
                     sum1.data(), ring2.data() + (t % w2) * channels, sum2.data(), channels);
        if (t < 2 * R) continue;
        normaliseRow(sum2.data(), row.data(), toRow, channels);
        boxRow(row.data(), px, w0, t1.data());
        boxRow(t1.data(), px - w0 + 1, w1, t2.data());
        boxRow(t2.data(), px - w0 - w1 + 2, w2, t3.data());
        finishRow(t3.data(), dst.row(dst.rect.y + t - 2 * R), std::size_t(W), toPixel);
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
    return boxBlur(src, std::min(sigma, kMaxSigma), dst);
}
