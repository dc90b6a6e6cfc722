// CGContext over a Cairo image surface, with copy-on-write snapshots so that taking the image
// of a context and then ending it costs no copy.
#include "platform/graphics/context.h"

#include "platform/graphics/image.h"
#include "platform/graphics/limits.h"
#include "platform/graphics/screen_metrics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Sizes such as 1.5 * 1001 * 1.0 must not gain a column from rounding noise.
int pixelsFor(CGFloat points, CGFloat scale) {
    double v = std::ceil(points * scale - 1e-6);
    return v > 0 && v <= kMaxImageSide ? int(v) : 0;
}
} // namespace

CGContext::~CGContext() {
    if (ownsCairo_ && cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

std::unique_ptr<CGContext> CGContext::makeBitmap(CGSize size, bool opaque, CGFloat scale) {
    std::unique_ptr<CGContext> c(new CGContext);
    c->size = size;
    c->scale = scale;
    c->opaque = opaque;
    int w = pixelsFor(size.width, scale), h = pixelsFor(size.height, scale);
    c->pixels_ = w && h ? CGImageAllocate(w, h) : nullptr;
    if (!c->pixels_) return c; // an empty context: drawing does nothing, its image is nil
    c->pixelWidth = w;
    c->pixelHeight = h;
    std::uint32_t* data = c->pixels_->data.get();
    if (opaque)
        std::fill_n(data, c->pixels_->pixelCount(), 0xff000000u);
    else
        std::memset(data, 0, c->pixels_->pixelCount() * 4);
    c->surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(data),
                                                      CAIRO_FORMAT_ARGB32, w, h, w * 4);
    c->cr_ = cairo_create(c->surface_);
    c->ownsCairo_ = true;
    cairo_scale(c->cr_, scale, scale);
    return c;
}

std::unique_ptr<CGContext> CGContext::wrap(cairo_t* cr) {
    std::unique_ptr<CGContext> c(new CGContext);
    c->cr_ = cr;
    return c;
}

void CGContext::detachSnapshot() {
    // The last image taken may still share our pixels: hand it a copy, keep drawing on ours.
    // Either way the next snapshot is a new bitmap object (its digest is computed afresh).
    if (!pixels_ || !snapshotTaken_) return;
    snapshotTaken_ = false;
    auto mine = std::make_shared<CGImage>();
    mine->width = pixels_->width;
    mine->height = pixels_->height;
    if (pixels_.use_count() > 1) {
        cairo_surface_flush(surface_);
        std::shared_ptr<std::uint32_t[]> copy(new std::uint32_t[pixels_->pixelCount()]);
        std::memcpy(copy.get(), pixels_->data.get(), pixels_->pixelCount() * 4);
        mine->data = std::move(pixels_->data);
        pixels_->data = std::move(copy);
    } else {
        mine->data = std::move(pixels_->data);
    }
    pixels_ = std::move(mine);
}

cairo_t* CGContext::drawTarget() {
    detachSnapshot();
    if (written_) {
        cairo_surface_mark_dirty(surface_);
        written_ = false;
    }
    return cr_;
}

std::uint32_t* CGContext::writablePixels() {
    if (!pixels_) return nullptr;
    drawTarget();
    cairo_surface_flush(surface_);
    written_ = true;
    return pixels_->data.get();
}

std::uint32_t* CGBitmapContextGetData(CGContextRef c) {
    return c ? c->writablePixels() : nullptr;
}

CGImageRef CGContext::snapshot() {
    if (!pixels_) return nullptr;
    if (written_) {
        cairo_surface_mark_dirty(surface_);
        written_ = false;
    }
    cairo_surface_flush(surface_);
    pixels_->opaque = opaque;
    snapshotTaken_ = true;
    return pixels_;
}

// ---------------------------------------------------------------------------------------------
// The context stack

namespace {
struct StackEntry {
    CGContext* context;
    std::unique_ptr<CGContext> owned;
};
thread_local std::vector<StackEntry> stack;
} // namespace

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale) {
    if (scale <= 0) scale = mainScreenMetrics().scale;
    auto c = CGContext::makeBitmap(size, opaque, scale);
    CGContext* raw = c.get();
    stack.push_back({raw, std::move(c)});
}

void UIGraphicsBeginImageContext(CGSize size) {
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
}

CGContextRef UIGraphicsGetCurrentContext() {
    return stack.empty() ? nullptr : stack.back().context;
}

Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext() {
    if (stack.empty() || !stack.back().owned) return nullptr;
    CGContext* c = stack.back().context;
    return UIImage::imageWithCGImage(c->snapshot(), c->scale);
}

void UIGraphicsEndImageContext() {
    if (!stack.empty() && stack.back().owned) stack.pop_back();
}

void UIGraphicsPushContext(CGContextRef context) {
    if (context) stack.push_back({context, nullptr});
}

void UIGraphicsPopContext() {
    if (!stack.empty() && !stack.back().owned) stack.pop_back();
}
