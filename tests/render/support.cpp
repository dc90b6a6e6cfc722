#include "support.h"

#include "platform/foundation/foundation.h"
#include "platform/graphics/codec.h"
#include "sim/render/render.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace rendertest {

namespace {
constexpr int kChannelTolerance = 6;
constexpr double kToleratedShare = 0.003;
} // namespace

std::ostream& operator<<(std::ostream& out, RGBA c) {
    return out << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

RGBA pixel(const CGImageRef& image, int x, int y) {
    if (!image || x < 0 || y < 0 || x >= image->width || y >= image->height) return {};
    std::uint32_t p = unpremultiplyPixel(image->row(y)[x]);
    return {int(pixelRed(p)), int(pixelGreen(p)), int(pixelBlue(p)), int(pixelAlpha(p))};
}

::testing::AssertionResult near(RGBA actual, RGBA expected, int tolerance) {
    int d = std::max({std::abs(actual.r - expected.r), std::abs(actual.g - expected.g),
                      std::abs(actual.b - expected.b), std::abs(actual.a - expected.a)});
    if (d <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " is not within " << tolerance << " of " << expected;
}

Ref<UIImage> makeImage(int w, int h, double scale, const std::function<RGBA(int, int)>& colour) {
    std::shared_ptr<CGImage> bitmap = CGImageAllocate(w, h);
    bool opaque = true;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            RGBA c = colour(x, y);
            auto pre = [&](int v) { return std::uint32_t((v * c.a + 127) / 255); };
            bitmap->data[std::size_t(y) * w + x] =
                packPixel(std::uint32_t(c.a), pre(c.r), pre(c.g), pre(c.b));
            opaque = opaque && c.a == 255;
        }
    bitmap->opaque = opaque;
    return UIImage::imageWithCGImage(bitmap, scale);
}

Ref<UIImage> solidImage(int w, int h, RGBA colour) {
    return makeImage(w, h, 1, [&](int, int) { return colour; });
}

CGImageRef shot(UIView* root, double scale) {
    std::string error;
    RenderOptions options;
    options.scale = scale;
    CGImageRef image = renderView(root, options, &error);
    EXPECT_TRUE(image) << error;
    return image;
}

::testing::AssertionResult matchesGolden(const CGImageRef& image, const std::string& name) {
    if (!image) return ::testing::AssertionFailure() << "no image";
    std::string golden = std::string(VEY_SOURCE_DIR) + "/tests/render/golden/" + name + ".png";
    const char* record = std::getenv("VEY_RECORD_GOLDEN");
    if (record && std::string(record) == "1") {
        std::string error;
        if (!writePNG(image, golden, &error)) return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess() << "recorded " << golden;
    }
    std::ifstream in(golden, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    CGImageRef expected = CGImageCreateWithEncodedData(bytes.data(), bytes.size());
    if (!expected)
        return ::testing::AssertionFailure()
               << "no golden image " << golden << " (record with VEY_RECORD_GOLDEN=1)";

    bool sameSize = expected->width == image->width && expected->height == image->height;
    long off = 0;
    int worst = 0;
    std::shared_ptr<CGImage> diff = CGImageAllocate(image->width, image->height);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            RGBA a = pixel(image, x, y), e = pixel(expected, x, y);
            int d = std::max({std::abs(a.r - e.r), std::abs(a.g - e.g), std::abs(a.b - e.b),
                              std::abs(a.a - e.a)});
            worst = std::max(worst, d);
            if (d > kChannelTolerance) ++off;
            // Differences in red over a dimmed copy of the actual image.
            std::uint32_t v = std::uint32_t(std::min(255, d * 8));
            std::uint32_t grey = std::uint32_t((a.r + a.g + a.b) / 12);
            diff->data[std::size_t(y) * image->width + x] =
                packPixel(255, std::max(v, grey), grey, grey);
        }
    double share = double(off) / double(image->pixelCount());
    if (sameSize && share <= kToleratedShare) return ::testing::AssertionSuccess();

    std::filesystem::create_directories("render-golden-out");
    std::string base = "render-golden-out/" + name;
    writePNG(image, base + ".actual.png", nullptr);
    if (sameSize) writePNG(diff, base + ".diff.png", nullptr);
    auto failure = ::testing::AssertionFailure();
    if (!sameSize)
        return failure << name << ": size " << image->width << "x" << image->height
                       << " differs from the golden " << expected->width << "x" << expected->height
                       << "; actual image in " << base << ".actual.png";
    return failure << name << ": " << off << " pixels (" << share * 100 << "%) differ by more than "
                   << kChannelTolerance << " (worst " << worst
                   << "); actual and difference images in " << base << ".*.png";
}

} // namespace rendertest

namespace rendertest {

Ref<UIView> box(CGRect frame, RGBA c) {
    Ref<UIView> view = UIView::make(frame);
    view->setBackgroundColor(
        UIColor::colorWithRed(c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0));
    return view;
}

Ink inkOf(const CGImageRef& image, RGBA background, int tolerance) {
    Ink ink;
    ink.x0 = ink.y0 = 1 << 30;
    for (int y = 0; image && y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            RGBA p = pixel(image, x, y);
            int d = std::max({std::abs(p.r - background.r), std::abs(p.g - background.g),
                              std::abs(p.b - background.b), std::abs(p.a - background.a)});
            if (d <= tolerance) continue;
            ++ink.count;
            ink.x0 = std::min(ink.x0, x), ink.y0 = std::min(ink.y0, y);
            ink.x1 = std::max(ink.x1, x + 1), ink.y1 = std::max(ink.y1, y + 1);
        }
    if (ink.empty()) ink = {};
    return ink;
}

bool samePixels(const CGImageRef& a, const CGImageRef& b) {
    return a && b && a->width == b->width && a->height == b->height &&
           std::equal(a->pixels(), a->pixels() + a->pixelCount(), b->pixels());
}

} // namespace rendertest
