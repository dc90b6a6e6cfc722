#pragma GCC optimize("O3")
#include "platform/graphics/downscale.h"

#include <cmath>
#include <vector>

namespace {

typedef float Float4 __attribute__((vector_size(16)));

Float4 channels(std::uint32_t p) {
    return Float4{float(p & 0xff), float((p >> 8) & 0xff), float((p >> 16) & 0xff), float(p >> 24)};
}

// The source span [first, last] of one destination cell and the shares of its end pixels.
struct Span {
    int first, last;
    float firstShare, lastShare;
};

std::vector<Span> spans(int from, int to) {
    std::vector<Span> out(static_cast<std::size_t>(to));
    double step = double(from) / to;
    for (int i = 0; i < to; ++i) {
        double a = i * step, b = (i + 1) * step;
        int first = int(std::floor(a)), last = std::min(int(std::ceil(b)) - 1, from - 1);
        Span s{first, last, float(std::min(b, first + 1.0) - a), float(b - last)};
        if (first == last) s.firstShare = s.lastShare = float(b - a);
        out[std::size_t(i)] = s;
    }
    return out;
}

} // namespace

std::shared_ptr<CGImage> CGImageDownscaleArea(const CGImage& src, int width, int height) {
    if (width <= 0 || height <= 0 || width > src.width || height > src.height) return nullptr;
    auto out = CGImageAllocate(width, height);
    if (!out) return nullptr;
    std::vector<Span> columns = spans(src.width, width), rows = spans(src.height, height);
    std::vector<Float4> cell(static_cast<std::size_t>(width));
    const float norm = float(double(width) * height / (double(src.width) * src.height));
    for (int y = 0; y < height; ++y) {
        const Span& r = rows[std::size_t(y)];
        for (auto& c : cell)
            c = Float4{};
        for (int sy = r.first; sy <= r.last; ++sy) {
            float rowShare = sy == r.first ? r.firstShare : sy == r.last ? r.lastShare : 1.0f;
            const std::uint32_t* line = src.row(sy);
            for (int x = 0; x < width; ++x) {
                const Span& c = columns[std::size_t(x)];
                // Whole pixels in between are summed as integers: blue and red, green and alpha
                // in two 64-bit words of two 32-bit lanes each.
                std::uint64_t br = 0, ga = 0;
                for (int sx = c.first + 1; sx < c.last; ++sx) {
                    std::uint64_t p = line[sx];
                    br += (p & 0xff) | (p & 0xff0000) << 16;
                    ga += (p >> 8 & 0xff) | (p & 0xff000000) << 8;
                }
                Float4 sum = Float4{float(br & 0xffffffff), float(ga & 0xffffffff), float(br >> 32),
                                    float(ga >> 32)} +
                             channels(line[c.first]) * c.firstShare;
                if (c.last > c.first) sum += channels(line[c.last]) * c.lastShare;
                cell[std::size_t(x)] += sum * rowShare;
            }
        }
        std::uint32_t* dst = out->data.get() + std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            Float4 v = cell[std::size_t(x)] * norm + 0.5f;
            auto q = [&](int i) { return std::uint32_t(std::fmin(v[i], 255.0f)); };
            dst[x] = q(3) << 24 | q(2) << 16 | q(1) << 8 | q(0);
        }
    }
    out->opaque = src.opaque;
    return out;
}
