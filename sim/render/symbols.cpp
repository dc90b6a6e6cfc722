// The symbol shapes. Coordinates are in the symbol's box: y from 0 (top) to 1, x from 0 to the
// symbol's aspect ratio.
#include "sim/render/symbols.h"

#include "platform/graphics/image.h"
#include "platform/uikit/font.h"
#include "sim/render/canvas.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace render {

namespace {

struct Pt {
    double x, y;
};

// A closed polygon whose corners are rounded off `d` along each edge.
void roundedPolygon(cairo_t* cr, std::initializer_list<Pt> points, double d) {
    const Pt* p = points.begin();
    int n = int(points.size());
    auto along = [&](Pt from, Pt to) {
        double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
        double k = len > 0 ? std::min(d, len / 2) / len : 0;
        return Pt{from.x + dx * k, from.y + dy * k};
    };
    cairo_new_sub_path(cr);
    for (int i = 0; i < n; ++i) {
        Pt v = p[i], prev = p[(i + n - 1) % n], next = p[(i + 1) % n];
        Pt a = along(v, prev), b = along(v, next);
        if (i == 0)
            cairo_move_to(cr, a.x, a.y);
        else
            cairo_line_to(cr, a.x, a.y);
        constexpr double k = 0.55;
        cairo_curve_to(cr, a.x + (v.x - a.x) * k, a.y + (v.y - a.y) * k, b.x + (v.x - b.x) * k,
                       b.y + (v.y - b.y) * k, b.x, b.y);
    }
    cairo_close_path(cr);
}

void roundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    addLayerShape(cr, CGRectMake(x0, y0, x1 - x0, y1 - y0), r, false);
}

// An ellipse, clockwise like the other shapes (so unions fill with the nonzero rule).
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, bool hole = false) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    if (hole)
        cairo_arc_negative(cr, 0, 0, 1, 2 * M_PI, 0);
    else
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// Runs `draw` mirrored left to right within a box of width `w`.
template <class F> void mirrored(cairo_t* cr, double w, F draw) {
    cairo_save(cr);
    cairo_translate(cr, w, 0);
    cairo_scale(cr, -1, 1);
    draw();
    cairo_restore(cr);
}

void strokeRound(cairo_t* cr, double width) {
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void play(cairo_t* cr, double) {
    roundedPolygon(cr, {{0.05, 0.03}, {0.83, 0.5}, {0.05, 0.97}}, 0.13);
    cairo_fill(cr);
}

void pause(cairo_t* cr, double) {
    roundedRect(cr, 0.0, 0.02, 0.26, 0.98, 0.07);
    roundedRect(cr, 0.46, 0.02, 0.72, 0.98, 0.07);
    cairo_fill(cr);
}

void backward(cairo_t* cr, double) {
    roundedPolygon(cr, {{0.88, 0.04}, {0.88, 0.96}, {0.02, 0.5}}, 0.1);
    roundedPolygon(cr, {{1.72, 0.04}, {1.72, 0.96}, {0.86, 0.5}}, 0.1);
    cairo_fill(cr);
}

void forward(cairo_t* cr, double weight) {
    mirrored(cr, 1.74, [&] { backward(cr, weight); });
}

void chevron(cairo_t* cr, double weight, bool down) {
    double top = 0.2, bottom = 0.8;
    if (!down) std::swap(top, bottom);
    cairo_move_to(cr, 0.14, top);
    cairo_line_to(cr, 0.875, bottom);
    cairo_line_to(cr, 1.61, top);
    strokeRound(cr, 0.22 * weight);
}

void airplay(cairo_t* cr, double weight) {
    const double cx = 0.475, cy = 0.43;
    auto arc = [&](double r, double gap) {
        double start = M_PI / 2 + gap, end = M_PI / 2 - gap + 2 * M_PI;
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy, r, start, end);
        strokeRound(cr, 0.075 * weight);
    };
    arc(0.38, 0.9);
    arc(0.235, 1.0);
    ellipse(cr, cx, cy, 0.075, 0.075);
    roundedPolygon(cr, {{cx, 0.6}, {cx + 0.25, 0.98}, {cx - 0.25, 0.98}}, 0.06);
    cairo_fill(cr);
}

// One earbud (the left one) in a box 1.2 wide: a round head with the stem hanging on its outer
// side; `stemEnd` sets the stem's length, `tip` adds an ear tip pointing inwards.
void earbud(cairo_t* cr, double headX, double headY, double headR, double stemEnd, bool tip) {
    ellipse(cr, headX, headY, headR, headR);
    roundedRect(cr, headX - headR + 0.01, headY, headX - headR + 0.15, stemEnd, 0.07);
    if (tip) ellipse(cr, headX + headR * 0.78, headY - headR * 0.3, 0.075, 0.07);
}

void airpodsShape(cairo_t* cr, double headX, double headY, double headR, double stemEnd, bool tip) {
    earbud(cr, headX, headY, headR, stemEnd, tip);
    mirrored(cr, 1.2, [&] { earbud(cr, headX, headY, headR, stemEnd, tip); });
    cairo_fill(cr);
}

void airpods(cairo_t* cr, double) {
    airpodsShape(cr, 0.34, 0.24, 0.2, 0.98, false);
}
void airpodsGen3(cairo_t* cr, double) {
    airpodsShape(cr, 0.34, 0.3, 0.23, 0.88, false);
}
void airpodsPro(cairo_t* cr, double) {
    airpodsShape(cr, 0.31, 0.36, 0.22, 0.86, true);
}

void airpodsMax(cairo_t* cr, double weight) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0.475, 0.5, 0.36, M_PI, 2 * M_PI);
    strokeRound(cr, 0.09 * weight);
    roundedRect(cr, 0.02, 0.4, 0.28, 0.98, 0.1);
    roundedRect(cr, 0.67, 0.4, 0.93, 0.98, 0.1);
    cairo_fill(cr);
}

void musicNote(cairo_t* cr, double) {
    cairo_rectangle(cr, 0.5, 0.06, 0.1, 0.76);
    roundedPolygon(cr, {{0.5, 0.04}, {0.72, 0.0}, {0.72, 0.2}, {0.5, 0.27}}, 0.03);
    cairo_save(cr);
    cairo_translate(cr, 0.36, 0.8);
    cairo_rotate(cr, -0.35);
    ellipse(cr, 0, 0, 0.245, 0.17);
    cairo_restore(cr);
    cairo_fill(cr);
}

void unknown(cairo_t* cr, double weight) {
    roundedRect(cr, 0.1, 0.1, 0.9, 0.9, 0.18);
    strokeRound(cr, 0.08 * weight);
}

struct Symbol {
    std::string_view name;
    double aspect; // width / height
    double height; // at the medium scale, in units of the point size
    void (*draw)(cairo_t*, double weight);
};

const Symbol kSymbols[] = {
    {"play.fill", 0.86, 0.94, play},
    {"pause.fill", 0.72, 0.9, pause},
    {"backward.fill", 1.74, 0.62, backward},
    {"forward.fill", 1.74, 0.62, forward},
    {"airplayaudio", 0.95, 1.0, airplay},
    {"chevron.down", 1.75, 0.55, [](cairo_t* cr, double w) { chevron(cr, w, true); }},
    {"chevron.up", 1.75, 0.55, [](cairo_t* cr, double w) { chevron(cr, w, false); }},
    {"airpods", 1.2, 0.9, airpods},
    {"airpodspro", 1.2, 0.9, airpodsPro},
    {"airpodsmax", 0.95, 1.0, airpodsMax},
    {"airpods.gen3", 1.2, 0.9, airpodsGen3},
    {"music.note", 0.72, 1.0, musicNote},
};
const Symbol kUnknown{"", 1.0, 0.9, unknown};

const Symbol& lookup(std::string_view name) {
    for (const Symbol& s : kSymbols)
        if (s.name == name) return s;
    return kUnknown;
}

struct Config {
    double pointSize = 17;
    double scale = 1;
    double weight = 1; // stroke multiplier
};

Config readConfig(const UIImage* image) {
    Config config;
    auto* c = cast<UIImageSymbolConfiguration>(image->symbolConfiguration());
    if (!c) return config;
    double size = c->pointSize();
    if (std::isfinite(size) && size > 0) config.pointSize = std::min(size, 1000.0);
    switch (c->scale()) {
    case UIImageSymbolScaleSmall:
        config.scale = 0.78;
        break;
    case UIImageSymbolScaleLarge:
        config.scale = 1.29;
        break;
    default:
        break;
    }
    if (UIFont* font = c->font())
        if (std::isfinite(font->weight()))
            config.weight = std::clamp(1 + 0.6 * font->weight(), 0.4, 1.6);
    return config;
}

} // namespace

bool isKnownSymbol(std::string_view name) {
    return &lookup(name) != &kUnknown;
}

CGSize symbolNaturalSize(const UIImage* image) {
    const Symbol& symbol = lookup(image->symbolName());
    Config config = readConfig(image);
    double h = config.pointSize * symbol.height * config.scale;
    return {h * symbol.aspect, h};
}

void drawSymbol(cairo_t* cr, const UIImage* image, CGRect rect, const CGColor& color,
                double alpha) {
    const Symbol& symbol = lookup(image->symbolName());
    Config config = readConfig(image);
    double w = rect.size.width, h = rect.size.height;
    if (!(w > 0) || !(h > 0) || color.a * alpha <= 0) return;
    cairo_save(cr);
    // Overlapping parts must not add up when the symbol is translucent: draw them as one.
    bool group = alpha < 1 || color.a < 1;
    if (group) {
        double pad = std::max(w, h) * 0.2;
        cairo_new_path(cr);
        cairo_rectangle(cr, rect.origin.x - pad, rect.origin.y - pad, w + 2 * pad, h + 2 * pad);
        cairo_clip(cr);
        cairo_push_group(cr);
    }
    cairo_translate(cr, rect.origin.x, rect.origin.y);
    cairo_scale(cr, w / symbol.aspect, h);
    cairo_new_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    setSourceColor(cr, CGColor{color.r, color.g, color.b, 1}, 1);
    symbol.draw(cr, config.weight);
    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, std::clamp(color.a, 0.0, 1.0) * alpha);
    }
    cairo_restore(cr);
}

} // namespace render
