// Bitmaps to draw into: Cairo surfaces over image bitmaps, so the result needs no copy.
#include "sim/render/canvas.h"

#include "platform/graphics/limits.h"

#include <cmath>
#include <cstring>

namespace render {

int pixelsFor(double points, double scale) {
    double pixels = std::ceil(points * scale - 1e-6);
    if (!(pixels >= 0) || pixels > kMaxImageSide + 1.0) return kMaxImageSide + 1;
    return int(pixels);
}

CGImageRef drawBitmap(int width, int height, double scale,
                      const std::function<void(Canvas&)>& draw) {
    if (!imageSizeAllowed(width, height)) return nullptr;
    std::shared_ptr<CGImage> bitmap = CGImageAllocate(width, height);
    if (!bitmap) return nullptr;
    std::memset(bitmap->data.get(), 0, bitmap->pixelCount() * 4);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(bitmap->data.get()), CAIRO_FORMAT_ARGB32, width, height,
        int(bitmap->bytesPerRow()));
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    Canvas canvas{cr, surface, scale, {}};
    draw(canvas);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return bitmap;
}

void pushContentGroup(Canvas& canvas) {
    cairo_push_group(canvas.cr);
    canvas.contentGroups.push_back(cairo_get_group_target(canvas.cr));
}

void popContentGroupToSource(Canvas& canvas) {
    canvas.contentGroups.pop_back();
    cairo_pop_group_to_source(canvas.cr);
}

} // namespace render
