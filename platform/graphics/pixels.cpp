#include "platform/graphics/pixels.h"

#include "platform/graphics/bitmap.h"
#include "platform/graphics/limits.h"

#include <algorithm>
#include <cstring>
#include <new>

PixelRect PixelRect::intersect(const PixelRect& o) const {
    int x0 = std::max(x, o.x), y0 = std::max(y, o.y);
    int x1 = std::min(right(), o.right()), y1 = std::min(bottom(), o.bottom());
    if (x1 <= x0 || y1 <= y0) return {x0, y0, 0, 0};
    return {x0, y0, x1 - x0, y1 - y0};
}

PixelBuffer PixelBuffer::make(PixelRect rect) {
    PixelBuffer b;
    b.rect = rect;
    if (!imageSizeAllowed(rect.width, rect.height)) return b;
    b.data = allocatePixels(std::size_t(rect.width) * rect.height);
    return b;
}

PixelView pixelsOver(const PixelView& src, PixelRect rect) {
    if (src.data && src.rect.contains(rect)) {
        PixelView v = src;
        v.rect = rect;
        v.data = src.row(rect.y) + (rect.x - src.rect.x);
        return v;
    }
    PixelBuffer out = PixelBuffer::make(rect);
    if (!out.data) return {};
    std::memset(out.data.get(), 0, std::size_t(rect.width) * rect.height * 4);
    PixelRect common = src.data ? src.rect.intersect(rect) : PixelRect{};
    for (int y = common.y; y < common.bottom(); ++y)
        std::memcpy(out.row(y) + (common.x - rect.x), src.row(y) + (common.x - src.rect.x),
                    std::size_t(common.width) * 4);
    return out.view();
}
