// Labels: one line of Inter, aligned and vertically centred; text wider than the label is
// clipped, or scrolls as a marquee that follows the virtual clock (a pause at the start, a
// scroll by the text's width and a gap, then again from the start) with faded edges.
#include "sim/render/canvas.h"
#include "sim/render/fonts.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

constexpr double kMarqueePause = 2.5;  // seconds at the start of each loop
constexpr double kMarqueeSpeed = 30;   // points per second
constexpr double kMarqueeGapEm = 2.5;  // space between the end and the next start, in ems
constexpr double kMarqueeFadeEm = 0.8; // width of the faded edges, in ems

// How far a running marquee has scrolled at `seconds` since it started.
double marqueeOffset(double seconds, double distance) {
    if (!(seconds > 0) || !(distance > 0)) return 0;
    double cycle = kMarqueePause + distance / kMarqueeSpeed;
    double phase = std::fmod(seconds, cycle);
    return phase <= kMarqueePause ? 0 : (phase - kMarqueePause) * kMarqueeSpeed;
}

void drawMarquee(Canvas& canvas, const TextRun& run, const TextStyle& style, CGRect bounds,
                 double baseline, double seconds, double alpha) {
    cairo_t* cr = canvas.cr;
    double gap = style.size * kMarqueeGapEm;
    double distance = run.width + gap;
    double offset = marqueeOffset(seconds, distance);
    double x0 = bounds.origin.x, w = bounds.size.width;
    cairo_push_group(cr);
    setSourceColor(cr, style.color, 1);
    showTextRun(cr, run, x0 - offset, baseline, 1);
    if (offset > 0) showTextRun(cr, run, x0 - offset + distance, baseline, 1);
    cairo_pop_group_to_source(cr);
    // Fade the edge the text leaves through (and the start edge once it moves).
    double fade = std::min(w / 4, style.size * kMarqueeFadeEm) / w;
    cairo_pattern_t* mask = cairo_pattern_create_linear(x0, 0, x0 + w, 0);
    double a = std::clamp(style.color.a, 0.0, 1.0) * alpha;
    cairo_pattern_add_color_stop_rgba(mask, 0, 0, 0, 0, offset > 0 ? 0 : a);
    cairo_pattern_add_color_stop_rgba(mask, fade, 0, 0, 0, a);
    cairo_pattern_add_color_stop_rgba(mask, 1 - fade, 0, 0, 0, a);
    cairo_pattern_add_color_stop_rgba(mask, 1, 0, 0, 0, 0);
    cairo_mask(cr, mask);
    cairo_pattern_destroy(mask);
}

void drawLine(Canvas& canvas, std::string_view text, const TextStyle& style,
              NSTextAlignment alignment, CGRect bounds, std::optional<double> marqueeSeconds,
              double alpha) {
    if (text.empty() || !(style.size > 0) || style.color.a * alpha <= 0) return;
    double w = bounds.size.width, h = bounds.size.height;
    if (!(w > 0) || !(h > 0)) return;
    cairo_t* cr = canvas.cr;
    cairo_save(cr);
    setInterFont(cr, style.size, style.weight);
    TextRun run = layoutText(cr, text);
    if (run.empty()) {
        cairo_restore(cr);
        return;
    }
    // The line box (ascender to descender) centred in the bounds.
    double baseline = CGRectGetMidY(bounds) + (run.ascent - run.descent) / 2;
    // Clip sideways only: tall glyphs may reach past a tight label, as on the platform.
    cairo_new_path(cr);
    cairo_rectangle(cr, bounds.origin.x, bounds.origin.y - style.size, w, h + 2 * style.size);
    cairo_clip(cr);

    bool overflows = run.width > w + 0.01;
    if (overflows && marqueeSeconds) {
        drawMarquee(canvas, run, style, bounds, baseline, *marqueeSeconds, alpha);
    } else {
        double x = bounds.origin.x;
        if (!overflows && alignment == NSTextAlignmentCenter)
            x += (w - run.width) / 2;
        else if (!overflows && alignment == NSTextAlignmentRight)
            x += w - run.width;
        setSourceColor(cr, style.color, alpha);
        showTextRun(cr, run, x, baseline, std::clamp(style.color.a, 0.0, 1.0) * alpha);
    }
    cairo_restore(cr);
}

} // namespace

void drawText(Canvas& canvas, const TextItem& text, double alpha) {
    drawLine(canvas, text.text, text.style, text.alignment, text.rect, text.marqueeSeconds, alpha);
}

} // namespace render
