// Pixel planes for the filters: premultiplied ARGB32 pixels placed on an integer grid whose y
// axis points down. Everything outside a plane's rectangle reads as transparent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool contains(const PixelRect& o) const {
        return o.x >= x && o.y >= y && o.right() <= right() && o.bottom() <= bottom();
    }
    PixelRect inset(int dx, int dy) const {
        return {x + dx, y + dy, width - 2 * dx, height - 2 * dy};
    }
    PixelRect intersect(const PixelRect& o) const;
    bool operator==(const PixelRect&) const = default;
};

// A read-only view of pixels; `owner` keeps them alive when the view is passed around.
struct PixelView {
    PixelRect rect;
    const std::uint32_t* data = nullptr; // pixel (rect.x, rect.y)
    std::size_t stride = 0;              // in pixels
    std::shared_ptr<const void> owner;
    // The pixels belong to a buffer made by the filters (not an image's bitmap).
    bool fresh = false;
    const std::uint32_t* row(int y) const { return data + std::size_t(y - rect.y) * stride; }
};

// A writable, packed buffer of `rect`'s pixels; nil data when the allocation was refused.
struct PixelBuffer {
    PixelRect rect;
    std::shared_ptr<std::uint32_t[]> data;
    static PixelBuffer make(PixelRect rect);
    std::uint32_t* row(int y) { return data.get() + std::size_t(y - rect.y) * rect.width; }
    PixelView view() const {
        return {rect, data.get(), std::size_t(rect.width), std::shared_ptr<const void>(data), true};
    }
};

// `src` over exactly `rect`: the same pixels when `src` covers it, otherwise a copy with
// transparent pixels where `src` has none.
PixelView pixelsOver(const PixelView& src, PixelRect rect);
