#include "platform/graphics/image.h"

#include <cstdio>

VEY_CLASS_IMPL(UIImage, NSObject::cls(), [](Class) {})

Ref<UIImage> UIImage::imageWithCGImage(CGImageRef image, CGFloat scale) {
    if (!image || !(scale > 0)) return nullptr;
    auto result = alloc<UIImage>();
    result->size_ = {image->width / scale, image->height / scale};
    result->scale_ = scale;
    result->bitmap_ = std::move(image);
    return result;
}

Ref<UIImage> UIImage::systemImageNamed(std::string_view name, id configuration) {
    if (name.empty()) return nullptr;
    auto result = alloc<UIImage>();
    result->size_ = {kSymbolPointSize, kSymbolPointSize};
    result->symbolName_ = std::string(name);
    result->configuration_ = configuration;
    return result;
}

Ref<UIImage> UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const {
    auto result = alloc<UIImage>();
    result->size_ = size_;
    result->scale_ = scale_;
    result->bitmap_ = bitmap_;
    result->mode_ = mode;
    result->symbolName_ = symbolName_;
    result->configuration_ = configuration_;
    return result;
}

std::string UIImage::description() const {
    char buf[160];
    if (isSymbolImage())
        std::snprintf(buf, sizeof buf, "<UIImage symbol(%s) mode %d>", symbolName_.c_str(),
                      int(mode_));
    else
        std::snprintf(buf, sizeof buf, "<UIImage %gx%g @%gx mode %d>", size_.width, size_.height,
                      scale_, int(mode_));
    return buf;
}
