#include "media/ColorExtractor.h"

#include "media/class_methods.h"
#include "media/image_steps.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>
#include <xxhash.h>

namespace {

constexpr CGSize kShrinkSize = {75, 75};
constexpr double kSoftenRadius = 2.0;
constexpr int kPasses = 10;

struct Shared {
    Ref<NSCache> cache;
    Ref<CIContext> context;
};

Shared& shared() {
    static Shared s = [] {
        Shared made;
        made.cache = NSCache::make();
        made.cache->setCountLimit(100);
        made.context = CIContext::contextWithOptions(nullptr);
        return made;
    }();
    return s;
}

Ref<NSArray> twoWhites() {
    return NSArray::make({UIColor::whiteColor(), UIColor::whiteColor()});
}

struct RGB {
    double r, g, b;
};

double distance(const RGB& a, const RGB& b) {
    return std::sqrt((b.r - a.r) * (b.r - a.r) + (b.g - a.g) * (b.g - a.g) +
                     (b.b - a.b) * (b.b - a.b));
}

double brightnessOf(const RGB& c) {
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

// Fixed-length k-means over the RGBA buffer's colours, centres seeded from the middle row.
std::vector<RGB> clusterCentres(const std::vector<RGB>& pixels, int w, int h) {
    std::vector<RGB> centres(3);
    for (int k = 0; k < 3; ++k) {
        int x = int((w / 3.0) * (k + 0.5));
        centres[k] = pixels[std::size_t(h / 2) * w + x];
    }
    for (int pass = 0; pass < kPasses; ++pass) {
        RGB sum[3] = {};
        std::size_t count[3] = {};
        for (const RGB& p : pixels) {
            double best = DBL_MAX;
            int chosen = 0;
            for (int k = 0; k < 3; ++k) {
                double d = distance(p, centres[k]);
                if (d < best) best = d, chosen = k;
            }
            sum[chosen].r += p.r, sum[chosen].g += p.g, sum[chosen].b += p.b;
            ++count[chosen];
        }
        for (int k = 0; k < 3; ++k)
            if (count[k])
                centres[k] = {sum[k].r / double(count[k]), sum[k].g / double(count[k]),
                              sum[k].b / double(count[k])};
    }
    return centres;
}

// The RGBA premultiplied buffer's colours (components / 255, alpha unused), row by row.
std::vector<RGB> bufferColours(const CGImage& bitmap) {
    std::vector<RGB> out;
    out.reserve(bitmap.pixelCount());
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            std::uint32_t p = bitmap.row(y)[x];
            out.push_back({pixelRed(p) / 255.0, pixelGreen(p) / 255.0, pixelBlue(p) / 255.0});
        }
    return out;
}

// XXH3-128 of the pixels, seeded with the pixel size. Premultiplied pixels map one-to-one onto
// the straight ones a PNG holds, so the digest tells PNG encodings apart without encoding.
std::string contentDigest(const CGImage& bitmap) {
    std::uint64_t seed = std::uint64_t(bitmap.width) << 32 | std::uint32_t(bitmap.height);
    XXH128_canonical_t digest;
    XXH128_canonicalFromHash(&digest,
                             XXH3_128bits_withSeed(bitmap.pixels(), bitmap.pixelCount() * 4, seed));
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : digest.digest) {
        text += hex[byte >> 4];
        text += hex[byte & 15];
    }
    return text;
}

RGB rgbOf(UIColor* color) {
    RGB c{};
    if (color) color->getRed(&c.r, &c.g, &c.b, nullptr);
    return c;
}

void initializeIMP(id self, SEL) {
    // Only the class itself sets up the shared cache and context, not a subclass.
    if (self == static_cast<id>(ColorExtractor::cls())) shared();
}

} // namespace

VEY_CLASS_IMPL(ColorExtractor, NSObject::cls(), [](Class k) {
    rt_addMethod(k->isa, "initialize", &initializeIMP);
    addClassMethod<&ColorExtractor::extractDominantColors>(
        k, "extractDominantColorsFromImage:sortBy:");
    addClassMethod<&ColorExtractor::cacheKeyForImage>(k, "cacheKeyForImage:");
    addClassMethod<&ColorExtractor::colorDistance>(k, "colorDistanceFromColor:toColor:");
    addClassMethod<&ColorExtractor::brightness>(k, "brightnessForColor:");
    addClassMethod<&ColorExtractor::resizeImageIfNeeded>(k, "resizeImageIfNeeded:targetSize:");
    addClassMethod<&ColorExtractor::applyGaussianAndMotionBlur>(
        k, "applyGaussianAndMotionBlurToImage:radius:");
})

// The library's classes are registered when it is loaded, so they can be found by name.
[[maybe_unused]] static const Class registered = ColorExtractor::cls();

NSCache* ColorExtractor::cache() {
    return shared().cache;
}

double ColorExtractor::colorDistance(UIColor* from, UIColor* to) {
    return distance(rgbOf(from), rgbOf(to));
}

double ColorExtractor::brightness(UIColor* color) {
    return brightnessOf(rgbOf(color));
}

Ref<NSString> ColorExtractor::cacheKeyForImage(UIImage* image) {
    Ref<NSData> png = UIImagePNGRepresentation(image);
    Ref<NSString> text = png ? NSString::make(png->base64EncodedStringWithOptions(1)) : nullptr;
    CGSize size = image ? image->size() : CGSize{};
    return stringWithFormat("%f_%f_%@", {size.width, size.height, text.get()});
}

Ref<NSString> ColorExtractor::digestKeyForImage(UIImage* image) {
    CGSize size = image ? image->size() : CGSize{};
    std::string key = NSStringFormat("%f_%f_", {size.width, size.height});
    if (!image || !image->CGImage()) return NSString::make(key + "(null)");
    return NSString::make(key + contentDigest(*image->CGImage()));
}

Ref<UIImage> ColorExtractor::resizeImageIfNeeded(UIImage* image, CGSize target) {
    if (!image) return nullptr;
    CGSize size = image->size();
    if (!(size.width > target.width || size.height > target.height)) return image;
    return drawnImage(target, YES, 1.0, [&](CGContextRef) { image->drawInRect({{0, 0}, target}); });
}

Ref<UIImage> ColorExtractor::applyGaussianAndMotionBlur(UIImage* image, double radius) {
    Ref<CIImage> blurred = gaussianThenMotionBlur(CIImage::initWithImage(image), radius);
    return renderedImage(shared().context, blurred);
}

Ref<NSArray> ColorExtractor::extractDominantColors(UIImage* image, NSInteger sortBy) {
    if (!image) return twoWhites();
    Shared& s = shared();
    Ref<NSString> key = digestKeyForImage(image);
    if (NSObject* hit = s.cache->objectForKey(key)) return cast<NSArray>(hit);

    Class self = cls();
    Ref<UIImage> shrunk =
        send<UIImage*>(self, "resizeImageIfNeeded:targetSize:", image, kShrinkSize);
    Ref<UIImage> softened =
        send<UIImage*>(self, "applyGaussianAndMotionBlurToImage:radius:", shrunk, kSoftenRadius);
    Ref<CIImage> ci = CIImage::initWithImage(softened);
    CGImageRef bitmap = ci ? s.context->createCGImage(ci, ci->extent()) : nullptr;
    if (!bitmap || bitmap->width <= 0 || bitmap->height <= 0) return twoWhites();

    std::vector<RGB> centres =
        clusterCentres(bufferColours(*bitmap), bitmap->width, bitmap->height);
    if (sortBy != 0)
        std::stable_sort(centres.begin(), centres.end(), [](const RGB& a, const RGB& b) {
            return brightnessOf(a) > brightnessOf(b);
        });
    std::vector<Ref<NSObject>> colours;
    for (const RGB& c : centres)
        colours.push_back(UIColor::colorWithRed(c.r, c.g, c.b, 1.0));
    Ref<NSArray> result = NSArray::make(std::move(colours));
    s.cache->setObject(result, key);
    return result;
}
