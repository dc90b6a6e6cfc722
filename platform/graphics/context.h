// Bitmap contexts and drawing on Cairo. Image contexts form a per-thread stack as on the
// platform.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/cgcolor.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/pixels.h"
#include "platform/runtime/runtime.h"

#include <cairo.h>
#include <memory>
#include <optional>
#include <vector>

class UIImage;
struct CGPath;
using CGPathRef = const CGPath*;

enum CGBlendMode : int {
    kCGBlendModeNormal = 0,
    kCGBlendModeMultiply = 1,
    kCGBlendModeScreen = 2,
    kCGBlendModeCopy = 17,
};

struct CGContext {
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;
    ~CGContext();

    // Image context of `pixelWidth` x `pixelHeight` pixels showing `size` points.
    static std::unique_ptr<CGContext> makeBitmap(CGSize size, bool opaque, CGFloat scale);

    // The cairo_t to draw with; call before every drawing operation so that an image taken
    // from the context keeps its pixels (copy on write).
    cairo_t* drawTarget();
    // The pixels for writing directly (ARGB32 premultiplied, rows of pixelWidth); nil when the
    // context has none. Valid until the next drawing call.
    std::uint32_t* writablePixels();
    // The same for a caller about to overwrite every pixel: the initial clear is skipped.
    std::uint32_t* pixelsForOverwrite();
    // The value of every pixel while the context is uniform.
    std::optional<std::uint32_t> uniformValue() const;
    // The current pixels as an image bitmap (shared until the next drawing operation).
    CGImageRef snapshot();

    // Where `rect` (user space) lands when it falls exactly on whole pixels under a plain
    // scale-and-translate transformation with nothing clipped away; false otherwise.
    bool alignedPixelRect(CGRect rect, PixelRect* out) const;
    bool isBitmap() const { return pixels_ != nullptr; }
    // Every pixel is still the same (only whole-context fills so far).
    bool uniform = true;

    CGSize size;
    CGFloat scale = 1;
    int pixelWidth = 0, pixelHeight = 0;
    bool opaque = false;

    struct State {
        CGColor fill{0, 0, 0, 1};
        // No stroke colour: strokes draw nothing.
        std::optional<CGColor> stroke = CGColor{0, 0, 0, 1};
        CGFloat lineWidth = 1;
    };
    State state;

  private:
    CGContext() = default;
    void detachSnapshot();
    cairo_t* cr_ = nullptr;
    cairo_surface_t* surface_ = nullptr;
    bool snapshotTaken_ = false;
    bool written_ = false;
    // The initial value, written only when something needs the pixels.
    std::optional<std::uint32_t> pendingFill_;
    void fillPending();
    std::shared_ptr<CGImage> pixels_;
};
using CGContextRef = CGContext*;

// Image contexts. Scale 0 is the main screen's scale; the bitmap has ceil(size * scale)
// pixels. A non-opaque context starts transparent, an opaque one black.
void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);
CGContextRef UIGraphicsGetCurrentContext();
// Nil when the current context is not an image context (or there is none).
Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();

// The bitmap context's pixels for direct writing (see CGContext::writablePixels).
std::uint32_t* CGBitmapContextGetData(CGContextRef c);

void UIRectFill(CGRect rect);
void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode mode);

void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetLineWidth(CGContextRef c, CGFloat width);
void CGContextFillRect(CGContextRef c, CGRect rect);
void CGContextAddPath(CGContextRef c, CGPathRef path);
void CGContextStrokePath(CGContextRef c);
void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty);

// A Cairo surface over the bitmap's pixels without copying; it keeps the bitmap alive until it
// is destroyed (cairo_surface_destroy). Opaque bitmaps come as RGB24 so Cairo copies them.
cairo_surface_t* CGImageCreateCairoSurface(const CGImageRef& image);
// Draws an image into any cairo_t, stretched into `rect` in that cairo_t's user space, with a
// Cairo operator and alpha. Nothing for a nil image or one without a bitmap (symbols).
void UIImageDrawInCairo(cairo_t* cr, const UIImage* image, CGRect rect,
                        cairo_operator_t op = CAIRO_OPERATOR_OVER, double alpha = 1);
cairo_operator_t cairoOperatorForBlendMode(CGBlendMode mode);
