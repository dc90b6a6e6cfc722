#include "support.h"

#include "sim/image_match.h"
#include "sim/render/render.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace rendertest {

namespace {
int distance(RGBA a, RGBA b) {
    return std::max(
        {std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b), std::abs(a.a - b.a)});
}
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
    if (distance(actual, expected) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " is not within " << tolerance << " of " << expected;
}

::testing::AssertionResult shows(const CGImageRef& image, const std::vector<Probe>& probes) {
    for (const Probe& p : probes)
        if (auto result = near(pixel(image, p.x, p.y), p.colour, p.tolerance); !result)
            return result << " at (" << p.x << ", " << p.y << ")";
    return ::testing::AssertionSuccess();
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

Ref<UIView> box(CGRect frame, RGBA c) {
    Ref<UIView> view = UIView::make(frame);
    view->setBackgroundColor(
        UIColor::colorWithRed(c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0));
    return view;
}

UIView* addBox(UIView* parent, CGRect frame, RGBA colour) {
    Ref<UIView> view = box(frame, colour);
    parent->addSubview(view);
    return view.get();
}

CGImageRef shot(UIView* root, double scale) {
    std::string error;
    RenderOptions options;
    options.scale = scale;
    CGImageRef image = renderView(root, options, &error);
    EXPECT_TRUE(image) << error;
    return image;
}

bool samePixels(const CGImageRef& a, const CGImageRef& b) {
    return a && b && a->width == b->width && a->height == b->height &&
           std::equal(a->pixels(), a->pixels() + a->pixelCount(), b->pixels());
}

Ink inkOf(const CGImageRef& image, RGBA background, int tolerance) {
    Ink ink{1 << 30, 1 << 30, 0, 0, 0};
    for (int y = 0; image && y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            if (distance(pixel(image, x, y), background) <= tolerance) continue;
            ++ink.count;
            ink.x0 = std::min(ink.x0, x), ink.y0 = std::min(ink.y0, y);
            ink.x1 = std::max(ink.x1, x + 1), ink.y1 = std::max(ink.y1, y + 1);
        }
    return ink.count ? ink : Ink{};
}

::testing::AssertionResult matchesGolden(const CGImageRef& image, const std::string& name) {
    std::string golden = std::string(VEY_SOURCE_DIR) + "/tests/render/golden/" + name + ".png";
    std::string problem;
    if (!image) return ::testing::AssertionFailure() << "no picture";
    if (const char* record = std::getenv("VEY_RECORD_GOLDEN"); record && std::string(record) == "1")
        return writePNG(image, golden, &problem) ? ::testing::AssertionSuccess()
                                                 : ::testing::AssertionFailure() << problem;
    bool missing = false;
    CGImageRef expected = sim::readGolden(golden, &problem, &missing);
    if (expected && (expected->width != image->width || expected->height != image->height))
        problem = "its size is not the picture's", expected = nullptr;
    if (!expected) return ::testing::AssertionFailure() << golden << ": " << problem;
    sim::ImageDifference d = sim::compareImages(*image, *expected, 6);
    if (d.differing <= d.pixels * 0.003) return ::testing::AssertionSuccess();
    std::filesystem::create_directories("render-golden-out");
    std::string base = "render-golden-out/" + name;
    writePNG(image, base + ".actual.png", nullptr);
    writePNG(d.diff, base + ".diff.png", nullptr);
    return ::testing::AssertionFailure()
           << name << ": " << d.differing << " pixels differ by over 6"
           << " (worst " << d.largest << "); see " << base << ".*";
}

} // namespace rendertest
