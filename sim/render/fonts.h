// The Inter font family (Debian's fonts-inter) through FreeType: the label font of every view.
#pragma once

#include <cairo.h>
#include <string>
#include <string_view>
#include <vector>

namespace render {

// Makes `cr` draw text in Inter at `pointSize` user units and the UIFontWeight `weight`
// (Inter Display from 20 points up, as the platform switches to its display cut), with
// unhinted outlines and grey antialiasing so text looks the same at every scale.
void setInterFont(cairo_t* cr, double pointSize, double weight);

// One line of text laid out from the origin on the baseline.
struct TextRun {
    std::vector<cairo_glyph_t> glyphs;
    double width = 0;
    double ascent = 0, descent = 0;
};
// Lays out UTF-8 text in the font currently set on `cr` (empty for text that is not valid
// UTF-8). Text beyond kMaxTextBytes is cut at a character boundary.
TextRun layoutText(cairo_t* cr, std::string_view text);
constexpr std::size_t kMaxTextBytes = 4096;
// The width of `text` in Inter at `pointSize` and `weight`, in points.
double measureText(std::string_view text, double pointSize, double weight);

// The file the renderer uses for a weight, or empty when Inter is not installed (labels then
// use Cairo's default sans-serif face).
std::string interFontFile(double weight, bool display);

} // namespace render
