// Shared by the renderer's parts: the surface being drawn, and the drawing steps each part
// provides. Every step draws in the current user space of `cr`, which maps a view's bounds
// coordinates (points) to device pixels.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"
#include "platform/uikit/color.h"

#include <cairo.h>
#include <cstdint>
#include <functional>

class UIView;
class UIImage;
class UILabel;
class UIButton;
class UIVisualEffectView;
class CALayer;

namespace render {

struct Canvas {
    cairo_t* cr = nullptr;
    // What blurs read as the backdrop: the pixels drawn so far (device space = this surface).
    cairo_surface_t* surface = nullptr;
    double scale = 1;
    std::int64_t now = 0;
    // Bitmaps scaled bilinearly: quicker, a little aliased when much reduced (the live window).
    bool quickImages = false;
};

// canvas.cpp: a new transparent bitmap of `width` x `height` pixels drawn by `draw` (user space
// in points); nil when the size is refused.
CGImageRef drawBitmap(int width, int height, double scale, std::int64_t now,
                      const std::function<void(Canvas&)>& draw);
// Device pixels for `points` at `scale` (a hair of rounding error does not add a pixel).
int pixelsFor(double points, double scale);

// tree.cpp: a view placed in its superview's bounds space (presentation geometry); a view's
// body in its own bounds space (with its running transition); and the layer itself
// (background, content, subviews, border) without the transition.
void drawView(Canvas& canvas, UIView* view, double parentAlpha);
void drawViewBody(Canvas& canvas, UIView* view, double alpha);
void drawViewLayer(Canvas& canvas, UIView* view, CGRect bounds, double alpha);

// shapes.cpp: the outline of a layer's bounds with its corner radius and curve.
void addLayerShape(cairo_t* cr, CGRect rect, double radius, bool continuous);
void setSourceColor(cairo_t* cr, const CGColor& color, double alpha);
// Whether the current transformation can be drawn with (finite and invertible).
bool usableMatrix(const cairo_matrix_t& m);

// images.cpp: image views and buttons.
void drawImageViewContent(Canvas& canvas, UIView* view, UIImage* image, CGRect bounds,
                          double alpha);
void drawButtonContent(Canvas& canvas, UIButton* button, CGRect bounds, double alpha);
// An image in `rect`: bitmaps filtered for their scale, templates and symbols in `tint`.
void drawImage(Canvas& canvas, const UIImage* image, CGRect rect, const CGColor& tint,
               double alpha);

// labels.cpp: a label's text; a button's title centred in `rect`, and its width (0 for none).
void drawLabelContent(Canvas& canvas, UILabel* label, CGRect bounds, double alpha);
void drawButtonTitle(Canvas& canvas, UIButton* button, CGRect rect, double alpha);
double buttonTitleWidth(UIButton* button);

// effects.cpp: blurs what lies behind `rect` (in the current user space), clipped to the
// layer's shape, and draws the blurred pixels at `alpha`. `sigma` is in points.
void drawBackdropBlur(Canvas& canvas, CGRect rect, double radius, bool continuous, double sigma,
                      double alpha);
void drawEffectView(Canvas& canvas, UIVisualEffectView* view, CGRect bounds, double alpha);

// self_drawing.cpp: views with their own drawRect: (true when the view has one).
bool drawSelfDrawnContent(Canvas& canvas, UIView* view, CGRect bounds, double alpha);

// transitions.cpp: draws the view's body mixed with what an active cross-dissolve replaces.
// False when no transition is running (the caller draws the body itself).
bool drawWithTransition(Canvas& canvas, UIView* view, CGRect bounds, double alpha);

// stock.cpp: the host's own views that are drawn in their own way. True when the view's
// background was drawn here (instead of its background colour).
bool drawStockBackground(Canvas& canvas, UIView* view, CGRect bounds, double alpha);
void drawWallpaper(Canvas& canvas, CGRect rect, double alpha);

} // namespace render
