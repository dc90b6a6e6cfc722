#include "platform/graphics/bitmap.h"

#include "platform/graphics/limits.h"

#include <new>

std::shared_ptr<CGImage> CGImageAllocate(int width, int height) {
    if (!imageSizeAllowed(width, height)) return nullptr;
    auto image = std::make_shared<CGImage>();
    image->width = width;
    image->height = height;
    image->data =
        std::shared_ptr<std::uint32_t[]>(new (std::nothrow) std::uint32_t[image->pixelCount()]);
    if (!image->data) return nullptr;
    return image;
}
