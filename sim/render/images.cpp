// Images: bitmaps filtered for their scale, template images as masks in the tint colour,
// symbols as vector shapes.
#include "platform/graphics/context.h"
#include "sim/render/canvas.h"
#include "sim/render/symbols.h"

#include <cmath>
#include <vector>

namespace render {

namespace {

// In a film, bitmaps drawn at another size than their own are resampled once per size and kept,
// since frame after frame draws the same artwork at the same size; the copy is then placed
// without scaling, which on whole pixels gives the pixels drawing the bitmap itself would.
constexpr std::size_t kKeptBytes = std::size_t(64) << 20;

struct Resampled {
    const CGImage* key;
    std::weak_ptr<const CGImage> source;
    CGImageRef pixels;
};

void setGoodPattern(cairo_pattern_t* pattern) {
    // Edge pixels reach the rectangle's edge instead of fading out; GOOD filters properly when
    // an image is drawn much smaller than its pixels.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
}

std::vector<Resampled> kept; // oldest first
std::size_t keptBytes = 0;

void forgetExpired() {
    std::erase_if(kept, [&](const Resampled& r) {
        bool gone = r.source.expired();
        if (gone) keptBytes -= r.pixels->pixelCount() * 4;
        return gone;
    });
}

CGImageRef resampled(const CGImageRef& bitmap, int width, int height) {
    forgetExpired();
    for (auto it = kept.begin(); it != kept.end(); ++it)
        if (it->key == bitmap.get() && it->pixels->width == width && it->pixels->height == height) {
            Resampled hit = *it;
            kept.erase(it);
            kept.push_back(hit);
            return hit.pixels;
        }
    std::shared_ptr<CGImage> out = CGImageAllocate(width, height);
    cairo_surface_t* source = CGImageCreateCairoSurface(bitmap);
    if (!out || !source) {
        if (source) cairo_surface_destroy(source);
        return nullptr;
    }
    cairo_surface_t* target = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(out->data.get()), CAIRO_FORMAT_ARGB32, width, height,
        int(out->bytesPerRow()));
    cairo_t* cr = cairo_create(target);
    cairo_scale(cr, double(width) / bitmap->width, double(height) / bitmap->height);
    cairo_set_source_surface(cr, source, 0, 0);
    setGoodPattern(cairo_get_source(cr));
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
    out->opaque = bitmap->opaque;
    kept.push_back({bitmap.get(), bitmap, out});
    keptBytes += out->pixelCount() * 4;
    while (keptBytes > kKeptBytes && kept.size() > 1) {
        keptBytes -= kept.front().pixels->pixelCount() * 4;
        kept.erase(kept.begin());
    }
    return out;
}

// The bitmap to draw into `rect` under the current transformation: a kept resampled copy when
// the rectangle covers whole device pixels of another size than the bitmap's.
CGImageRef bitmapFor(cairo_t* cr, const CGImageRef& bitmap, CGRect rect) {
    if (!FrameReuse::active()) return bitmap;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (m.xy != 0 || m.yx != 0 || !(m.xx > 0) || !(m.yy > 0)) return bitmap;
    // Whole pixels in place as well as in size: a copy drawn at a fraction of a pixel would be
    // filtered twice and differ from the bitmap drawn itself.
    auto whole = [](double v) { return std::fabs(v - std::round(v)) < 1e-6; };
    double x = rect.origin.x * m.xx + m.x0, y = rect.origin.y * m.yy + m.y0;
    double w = rect.size.width * m.xx, h = rect.size.height * m.yy;
    double iw = std::round(w), ih = std::round(h);
    if (!whole(x) || !whole(y) || !whole(w) || !whole(h) ||
        (iw == bitmap->width && ih == bitmap->height) || iw * ih * 4 > kKeptBytes / 2)
        return bitmap;
    CGImageRef copy = resampled(bitmap, int(iw), int(ih));
    return copy ? copy : bitmap;
}

void drawBitmap(cairo_t* cr, const UIImage* image, CGRect rect, const CGColor* tint, double alpha,
                bool quick) {
    CGImageRef bitmap = bitmapFor(cr, image->CGImage(), rect);
    cairo_surface_t* surface = CGImageCreateCairoSurface(bitmap);
    if (!surface) return;
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, bitmap->width / rect.size.width, bitmap->height / rect.size.height);
    cairo_matrix_translate(&m, -rect.origin.x, -rect.origin.y);
    cairo_pattern_set_matrix(pattern, &m);
    setGoodPattern(pattern);
    if (quick) cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);

    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    if (tint) {
        cairo_clip(cr);
        setSourceColor(cr, *tint, alpha);
        cairo_mask(cr, pattern);
    } else if (alpha >= 1) {
        cairo_set_source(cr, pattern);
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_set_source(cr, pattern);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(surface);
}

} // namespace

void forgetResampledImages() {
    kept.clear();
    keptBytes = 0;
}

void drawImage(Canvas& canvas, const UIImage* image, CGRect rect, const CGColor& tint,
               double alpha) {
    if (!image || !(rect.size.width > 0) || !(rect.size.height > 0)) return;
    if (image->isSymbolImage()) {
        // Symbols take the tint unless asked to keep their own (black) colour.
        bool original = image->renderingMode() == UIImageRenderingModeAlwaysOriginal;
        drawSymbol(canvas.cr, image, rect, original ? CGColor{0, 0, 0, 1} : tint, alpha);
        return;
    }
    if (!image->CGImage()) return;
    drawBitmap(canvas.cr, image, rect, image->isTemplate() ? &tint : nullptr, alpha,
               canvas.quickImages);
}

} // namespace render
