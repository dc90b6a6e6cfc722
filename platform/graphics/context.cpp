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
    if (cr_) cairo_destroy(cr_);
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
    c->pendingFill_ = opaque ? 0xff000000u : 0u;
    c->surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(data),
                                                      CAIRO_FORMAT_ARGB32, w, h, w * 4);
    c->cr_ = cairo_create(c->surface_);
    cairo_scale(c->cr_, scale, scale);
    return c;
}

void CGContext::detachSnapshot() {
    // The last image taken may still share our pixels: hand it a copy, keep drawing on ours.
    // Either way the next snapshot is a new bitmap object.
    if (!pixels_ || !snapshotTaken_) return;
    snapshotTaken_ = false;
    auto mine = std::make_shared<CGImage>();
    mine->width = pixels_->width;
    mine->height = pixels_->height;
    if (pixels_.use_count() > 1) {
        cairo_surface_flush(surface_);
        std::shared_ptr<std::uint32_t[]> copy = allocatePixels(pixels_->pixelCount());
        if (!copy) return; // out of memory: the image sees later drawing rather than crash
        std::memcpy(copy.get(), pixels_->data.get(), pixels_->pixelCount() * 4);
        mine->data = std::move(pixels_->data);
        pixels_->data = std::move(copy);
    } else {
        mine->data = std::move(pixels_->data);
    }
    pixels_ = std::move(mine);
}

void CGContext::fillPending() {
    if (!pendingFill_ || !pixels_) return;
    if (*pendingFill_ == 0)
        std::memset(pixels_->data.get(), 0, pixels_->pixelCount() * 4);
    else
        std::fill_n(pixels_->data.get(), pixels_->pixelCount(), *pendingFill_);
    pendingFill_.reset();
    written_ = true;
}

std::optional<std::uint32_t> CGContext::uniformValue() const {
    if (!uniform || !pixels_) return std::nullopt;
    if (pendingFill_) return pendingFill_;
    return pixels_->data[0];
}

std::uint32_t* CGContext::pixelsForOverwrite() {
    if (!pixels_) return nullptr;
    detachSnapshot();
    pendingFill_.reset();
    uniform = false;
    cairo_surface_flush(surface_);
    written_ = true;
    return pixels_->data.get();
}

cairo_t* CGContext::drawTarget() {
    detachSnapshot();
    fillPending();
    uniform = false;
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

bool CGContext::alignedPixelRect(CGRect rect, PixelRect* out) const {
    if (!pixels_ || !cr_) return false;
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    if (m.xy != 0 || m.yx != 0 || m.xx <= 0 || m.yy <= 0) return false;
    double x0 = m.xx * rect.origin.x + m.x0, y0 = m.yy * rect.origin.y + m.y0;
    double x1 = x0 + m.xx * rect.size.width, y1 = y0 + m.yy * rect.size.height;
    auto whole = [](double v) { return std::fabs(v - std::round(v)) < 1e-6 && std::fabs(v) < 1e9; };
    if (!whole(x0) || !whole(y0) || !whole(x1) || !whole(y1) || x1 <= x0 || y1 <= y0) return false;
    // Nothing clipped: the clip still covers the whole surface.
    double cx0, cy0, cx1, cy1;
    cairo_clip_extents(cr_, &cx0, &cy0, &cx1, &cy1);
    cairo_user_to_device(cr_, &cx0, &cy0);
    cairo_user_to_device(cr_, &cx1, &cy1);
    if (cx0 > 0 || cy0 > 0 || cx1 < pixelWidth || cy1 < pixelHeight) return false;
    *out = {int(std::lround(x0)), int(std::lround(y0)), int(std::lround(x1 - x0)),
            int(std::lround(y1 - y0))};
    return true;
}

std::uint32_t* CGBitmapContextGetData(CGContextRef c) {
    return c ? c->writablePixels() : nullptr;
}

CGImageRef CGContext::snapshot() {
    if (!pixels_) return nullptr;
    fillPending();
    if (written_) {
        cairo_surface_mark_dirty(surface_);
        written_ = false;
    }
    cairo_surface_flush(surface_);
    pixels_->opaque = opaque;
    pixels_->solid = uniform;
    snapshotTaken_ = true;
    return pixels_;
}

// ---------------------------------------------------------------------------------------------
// The context stack

namespace {
thread_local std::vector<std::unique_ptr<CGContext>> stack;
} // namespace

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale) {
    if (scale <= 0) scale = mainScreenMetrics().scale;
    stack.push_back(CGContext::makeBitmap(size, opaque, scale));
}

CGContextRef UIGraphicsGetCurrentContext() {
    return stack.empty() ? nullptr : stack.back().get();
}

Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext() {
    if (stack.empty()) return nullptr;
    CGContext* c = stack.back().get();
    return UIImage::imageWithCGImage(c->snapshot(), c->scale);
}

void UIGraphicsEndImageContext() {
    if (!stack.empty()) stack.pop_back();
}
