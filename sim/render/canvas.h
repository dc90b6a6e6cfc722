// Shared by the renderer's parts: the surface being drawn, and the drawing steps each part
// provides. Every step draws in the current user space of `cr`, which maps a view's bounds
// coordinates (points) to device pixels.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"
#include "platform/uikit/color.h"
#include "sim/render/display_list.h"

#include <cairo.h>
#include <cstdint>
#include <functional>
#include <vector>

namespace render {

struct Canvas {
    cairo_t* cr = nullptr;
    // What blurs read as the backdrop: the pixels drawn so far (device space = this surface).
    cairo_surface_t* surface = nullptr;
    double scale = 1;
    // Bitmaps scaled bilinearly: quicker, a little aliased when much reduced (the live window).
    bool quickImages = false;
    // The groups being drawn into, innermost last (`cr` draws into the last): each is a surface
    // in the canvas's pixel space, over the part the clip leaves. The content of a content group
    // (a faded view, one side of a cross-dissolve) lies behind what comes next in it, so blurs
    // see it over the surface.
    struct Group {
        cairo_t* parent;
        cairo_surface_t* surface;
        bool content;
    };
    std::vector<Group> groups;
};

// Like cairo_push_group and cairo_pop_group_to_source, the pop leaving `cr` the parent's again.
void pushGroup(Canvas& canvas, bool content);
void popGroupToSource(Canvas& canvas);

// While a film is drawn, one frame much resembles the next: what a frame makes for itself (the
// groups' pixels, images resampled to the size they are drawn at) is kept for the next frames
// and let go when the film ends. Outside a film nothing is kept.
class FrameReuse {
  public:
    FrameReuse();
    ~FrameReuse();
    FrameReuse(const FrameReuse&) = delete;
    FrameReuse& operator=(const FrameReuse&) = delete;
    static bool active();
};
// images.cpp: forgets the resampled images kept.
void forgetResampledImages();

// canvas.cpp: a new transparent bitmap of `width` x `height` pixels drawn by `draw` (user space
// in points); nil when the size is refused. `covered`: draw paints every pixel first, so the
// bitmap need not be cleared.
CGImageRef drawBitmap(int width, int height, double scale, const std::function<void(Canvas&)>& draw,
                      bool covered = false);
// Device pixels for `points` at `scale` (a hair of rounding error does not add a pixel).
int pixelsFor(double points, double scale);

// tree.cpp: a recorded view placed in its superview's bounds space; a view's body in its own
// bounds space at `alpha` (a view with subviews and alpha below 1 is composited as one group,
// a running cross-dissolve mixes in what it replaces).
void drawPlaced(Canvas& canvas, const DisplayNode& node);
void drawBody(Canvas& canvas, const DisplayNode& node, double alpha);

// shapes.cpp: the outline of a layer's bounds with its corner radius and curve.
void addLayerShape(cairo_t* cr, CGRect rect, double radius, bool continuous);
void setSourceColor(cairo_t* cr, const CGColor& color, double alpha);
// Whether the current transformation can be drawn with (finite and invertible).
bool usableMatrix(const cairo_matrix_t& m);

// images.cpp: an image in `rect`: bitmaps filtered for their scale, templates and symbols in
// `tint`.
void drawImage(Canvas& canvas, const UIImage* image, CGRect rect, const CGColor& tint,
               double alpha);

// labels.cpp: one line of text.
void drawText(Canvas& canvas, const TextItem& text, double alpha);

// effects.cpp: blurs what lies behind `rect` (in the current user space), clipped to the
// layer's shape, and draws the blurred pixels at `alpha`. `sigma` is in points.
void drawBackdropBlur(Canvas& canvas, CGRect rect, double radius, bool continuous, double sigma,
                      double alpha);
// A blur material of `style` over `rect`: the backdrop blurred and tinted.
void drawMaterial(Canvas& canvas, NSInteger style, CGRect rect, double radius, bool continuous,
                  double alpha);

// self_drawing.cpp: the picture a view with its own drawRect: shows at `scale`, drawn again only
// when the view asks for it; nil for other views.
Ref<UIImage> selfDrawnContent(UIView* view, double scale);

// stock.cpp: the wallpaper the cover sheet shows, and a frosted card's blur.
void drawWallpaper(Canvas& canvas, CGRect rect, double alpha);
void drawCardBlur(Canvas& canvas, CGRect rect, double radius, bool continuous, double alpha);

} // namespace render
