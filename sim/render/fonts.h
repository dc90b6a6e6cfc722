// The Inter font family (Debian's fonts-inter) through FreeType: the label font of every view.
#pragma once

#include <cairo.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct FT_FaceRec_;

namespace render {

// Makes `cr` draw text in Inter at `pointSize` user units and the UIFontWeight `weight`
// (Inter Display from 20 points up, as the platform switches to its display cut), with
// unhinted outlines and grey antialiasing so text looks the same at every scale.
void setInterFont(cairo_t* cr, double pointSize, double weight);

// A loaded face: Cairo's, with FreeType's for questions of coverage (nil for Cairo's default
// face, which is taken to cover everything). Faces live as long as the process.
struct FontFace {
    cairo_font_face_t* cairo = nullptr;
    FT_FaceRec_* ft = nullptr;
    bool colour = false; // glyphs are pictures: they keep their colours
    bool covers(char32_t c) const;
};
// Inter at a weight and size (its display cut from 20 points), or Cairo's default face.
FontFace interFontFace(double weight, double pointSize);
// The colour emoji face (Debian's fonts-noto-color-emoji), none when it is not installed.
FontFace emojiFontFace();
// Some installed face that has `c` (found through fontconfig), none when no face has it.
FontFace fontFaceCovering(char32_t c);

// One line of text laid out from the origin on the baseline: spans of glyphs, each in the first
// face that has its characters (Inter, then colour emoji, then any installed face), so that
// emoji and scripts Inter lacks are drawn rather than shown as empty boxes.
struct TextRun {
    struct Span {
        std::shared_ptr<cairo_scaled_font_t> font;
        bool colour = false;
        std::vector<cairo_glyph_t> glyphs;
    };
    std::vector<Span> spans;
    double width = 0;
    double ascent = 0, descent = 0; // Inter's
    bool empty() const { return spans.empty(); }
};
// Lays out UTF-8 text in the font currently set on `cr` by setInterFont (empty for text that is
// not valid UTF-8). Text beyond kMaxTextBytes is cut at a character boundary.
TextRun layoutText(cairo_t* cr, std::string_view text);
constexpr std::size_t kMaxTextBytes = 4096;
// Shows the run with its origin at (x, baseline) in the current source; colour glyphs keep
// their colours and are drawn at `colourAlpha`.
void showTextRun(cairo_t* cr, const TextRun& run, double x, double baseline, double colourAlpha);
// The width of `text` in Inter at `pointSize` and `weight`, in points.
double measureText(std::string_view text, double pointSize, double weight);

// The file the renderer uses for a weight, or empty when Inter is not installed (labels then
// use Cairo's default sans-serif face).
std::string interFontFile(double weight, bool display);

} // namespace render
