#include "platform/foundation/foundation.h"
#include "platform/graphics/filters.h"
#include "platform/graphics/limits.h"

#include <cstring>

VEY_CLASS_IMPL(CIFilter, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(CIContext, NSObject::cls(), [](Class) {})

namespace {
constexpr std::string_view kGaussian = "CIGaussianBlur";
constexpr std::string_view kMotion = "CIMotionBlur";
} // namespace

Ref<CIFilter> CIFilter::filterWithName(std::string_view name) {
    if (name != kGaussian && name != kMotion) return nullptr;
    auto f = alloc<CIFilter>();
    f->name_ = std::string(name);
    return f;
}

void CIFilter::setValue(id value, std::string_view key) {
    for (auto& [k, v] : values_)
        if (k == key) {
            v = value;
            return;
        }
    values_.emplace_back(std::string(key), value);
}

Ref<NSObject> CIFilter::valueForKey(std::string_view key) const {
    if (key == kCIOutputImageKey) return outputImage();
    for (auto& [k, v] : values_)
        if (k == key) return v;
    return nullptr;
}

double CIFilter::number(std::string_view key, double fallback) const {
    for (auto& [k, v] : values_)
        if (k == key)
            if (auto* n = cast<NSNumber>(v.get())) return n->doubleValue();
    return fallback;
}

Ref<CIImage> CIFilter::outputImage() const {
    CIImage* input = nullptr;
    for (auto& [k, v] : values_)
        if (k == kCIInputImageKey) input = cast<CIImage>(v.get());
    if (!input) return nullptr;
    // The platform's defaults: 10 for the Gaussian, 20 and angle 0 for the motion blur.
    if (name_ == kGaussian) return input->gaussianBlurred(number(kCIInputRadiusKey, 10));
    return input->motionBlurred(number(kCIInputRadiusKey, 20), number(kCIInputAngleKey, 0));
}

Ref<CIContext> CIContext::contextWithOptions(const NSDictionary*) {
    return alloc<CIContext>();
}

CGImageRef CIContext::createCGImage(const CIImage* image, CGRect rect) const {
    if (!image) return nullptr;
    PixelRect r = pixelRectForExtent(rect);
    if (!imageSizeAllowed(r.width, r.height)) return nullptr;
    PixelView v = image->render(r);
    if (!v.data) return nullptr;
    auto out = std::make_shared<CGImage>();
    out->width = r.width;
    out->height = r.height;
    if (v.fresh && v.stride == std::size_t(r.width) && v.owner.get() == v.data) {
        // A buffer made for this rectangle: hand it over without copying.
        out->data = std::shared_ptr<std::uint32_t[]>(v.owner, const_cast<std::uint32_t*>(v.data));
        return out;
    }
    auto copy = CGImageAllocate(r.width, r.height);
    if (!copy) return nullptr;
    for (int y = 0; y < r.height; ++y)
        std::memcpy(copy->data.get() + std::size_t(y) * r.width, v.row(r.y + y),
                    std::size_t(r.width) * 4);
    return copy;
}
