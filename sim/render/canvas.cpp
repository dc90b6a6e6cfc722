// Bitmaps to draw into: Cairo surfaces over image bitmaps, so the result needs no copy.
#include "sim/render/canvas.h"

#include "platform/graphics/limits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace render {

int pixelsFor(double points, double scale) {
    double pixels = std::ceil(points * scale - 1e-6);
    if (!(pixels >= 0) || pixels > kMaxImageSide + 1.0) return kMaxImageSide + 1;
    return int(pixels);
}

CGImageRef drawBitmap(int width, int height, double scale, const std::function<void(Canvas&)>& draw,
                      bool covered) {
    if (!imageSizeAllowed(width, height)) return nullptr;
    std::shared_ptr<CGImage> bitmap = CGImageAllocate(width, height);
    if (!bitmap) return nullptr;
    if (!covered) std::memset(bitmap->data.get(), 0, bitmap->pixelCount() * 4);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(bitmap->data.get()), CAIRO_FORMAT_ARGB32, width, height,
        int(bitmap->bytesPerRow()));
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    Canvas canvas{cr, surface, scale, false, {}};
    draw(canvas);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return bitmap;
}

namespace {

const cairo_user_data_key_t kPixelsKey{};

// Idle group pixels kept for the next frames at the most: a few full screens. Groups whose size
// changes every frame (a view moving or growing) would otherwise pile up until the film ends.
constexpr std::size_t kIdlePixels = std::size_t(16) << 20;

struct Reuse {
    int films = 0;
    // Group pixels no longer drawn with, by their size, oldest first.
    std::vector<std::pair<std::size_t, std::uint32_t*>> idle;
    std::size_t idlePixels = 0;
};

Reuse& reuse() {
    static Reuse r;
    return r;
}

struct GroupPixels {
    std::uint32_t* data;
    std::size_t count;
};

GroupPixels takeGroupPixels(std::size_t count) {
    Reuse& r = reuse();
    for (auto it = r.idle.begin(); it != r.idle.end(); ++it)
        if (it->first == count) {
            GroupPixels kept{it->second, count};
            r.idle.erase(it);
            r.idlePixels -= count;
            return kept;
        }
    return {new (std::nothrow) std::uint32_t[count], count};
}

void releaseGroupPixels(void* p) {
    auto* pixels = static_cast<GroupPixels*>(p);
    Reuse& r = reuse();
    if (r.films > 0) {
        r.idle.emplace_back(pixels->count, pixels->data);
        r.idlePixels += pixels->count;
        while (r.idlePixels > kIdlePixels && r.idle.size() > 1) {
            r.idlePixels -= r.idle.front().first;
            delete[] r.idle.front().second;
            r.idle.erase(r.idle.begin());
        }
    } else {
        delete[] pixels->data;
    }
    delete pixels;
}

} // namespace

FrameReuse::FrameReuse() {
    ++reuse().films;
}

FrameReuse::~FrameReuse() {
    if (--reuse().films > 0) return;
    for (auto& [count, data] : reuse().idle)
        delete[] data;
    reuse().idle.clear();
    reuse().idlePixels = 0;
    forgetResampledImages();
}

bool FrameReuse::active() {
    return reuse().films > 0;
}

void pushGroup(Canvas& canvas, bool content) {
    cairo_t* cr = canvas.cr;
    // The clip's extents in pixels, within the canvas.
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    double px0 = INFINITY, py0 = INFINITY, px1 = -INFINITY, py1 = -INFINITY;
    for (double x : {x0, x1})
        for (double y : {y0, y1}) {
            double dx = x, dy = y;
            cairo_user_to_device(cr, &dx, &dy);
            px0 = std::min(px0, dx), px1 = std::max(px1, dx);
            py0 = std::min(py0, dy), py1 = std::max(py1, dy);
        }
    int width = cairo_image_surface_get_width(canvas.surface);
    int height = cairo_image_surface_get_height(canvas.surface);
    int gx0 = int(std::clamp(std::floor(px0), 0.0, double(width)));
    int gy0 = int(std::clamp(std::floor(py0), 0.0, double(height)));
    int gx1 = int(std::clamp(std::ceil(px1), double(gx0), double(width)));
    int gy1 = int(std::clamp(std::ceil(py1), double(gy0), double(height)));
    int w = std::max(1, gx1 - gx0), h = std::max(1, gy1 - gy0);
    auto* pixels = new GroupPixels(takeGroupPixels(std::size_t(w) * h));
    cairo_surface_t* surface;
    if (pixels->data) {
        std::memset(pixels->data, 0, std::size_t(w) * h * 4);
        surface = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(pixels->data), CAIRO_FORMAT_ARGB32, w, h, w * 4);
        cairo_surface_set_user_data(surface, &kPixelsKey, pixels, releaseGroupPixels);
    } else {
        delete pixels;
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1); // drawing goes nowhere
    }
    cairo_surface_set_device_offset(surface, -gx0, -gy0);
    cairo_t* group = cairo_create(surface);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    cairo_set_matrix(group, &m);
    canvas.groups.push_back({cr, surface, content});
    canvas.cr = group;
}

void popGroupToSource(Canvas& canvas) {
    Canvas::Group group = canvas.groups.back();
    canvas.groups.pop_back();
    cairo_destroy(canvas.cr);
    canvas.cr = group.parent;
    // The group is in pixels: placed with the identity, which the pattern keeps.
    cairo_matrix_t m;
    cairo_get_matrix(canvas.cr, &m);
    cairo_identity_matrix(canvas.cr);
    cairo_set_source_surface(canvas.cr, group.surface, 0, 0);
    cairo_set_matrix(canvas.cr, &m);
    cairo_surface_destroy(group.surface);
}

} // namespace render
