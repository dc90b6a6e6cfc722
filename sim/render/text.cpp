// Laying out and showing one line of text, falling back face by face for characters Inter
// lacks. No shaping: characters map to glyphs one by one, so emoji sequences joined by U+200D
// show as their parts.
#include "sim/render/fonts.h"

#include <cairo-ft.h>

namespace render {

namespace {

// The longest prefix of at most `limit` bytes that does not split a character.
std::string_view cutAtCharacter(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

// The code point starting at `at` and its length in bytes; length 0 for bytes that are not
// UTF-8.
std::pair<char32_t, std::size_t> decode(std::string_view s, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char c = byte(at);
    std::size_t n = c < 0x80                ? 1
                    : c >= 0xC2 && c < 0xE0 ? 2
                    : c >= 0xE0 && c < 0xF0 ? 3
                    : c >= 0xF0 && c < 0xF5 ? 4
                                            : 0;
    if (n == 0 || at + n > s.size()) return {0, 0};
    char32_t cp = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
    for (std::size_t k = 1; k < n; k++) {
        if ((byte(at + k) & 0xC0) != 0x80) return {0, 0};
        cp = cp << 6 | (byte(at + k) & 0x3F);
    }
    bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
    return {cp, n};
}

// Joiners, variation selectors, skin-tone modifiers and tags only mean something to a shaper;
// alone they would show as boxes or swatches.
bool onlyForShaping(char32_t c) {
    return c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0x1F3FB && c <= 0x1F3FF) ||
           (c >= 0xE0020 && c <= 0xE007F);
}

FontFace faceFor(char32_t c, const FontFace& primary) {
    if (primary.covers(c)) return primary;
    if (FontFace emoji = emojiFontFace(); emoji.covers(c)) return emoji;
    if (FontFace other = fontFaceCovering(c); other.covers(c)) return other;
    return primary;
}

} // namespace

TextRun layoutText(cairo_t* cr, std::string_view text) {
    TextRun run;
    text = cutAtCharacter(text, kMaxTextBytes);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    run.ascent = fe.ascent;
    run.descent = fe.descent;

    // Runs of characters that share a face, as UTF-8.
    std::vector<std::pair<FontFace, std::string>> pieces;
    FontFace primary{cairo_get_font_face(cr)};
    primary = [&] {
        // The face set on `cr` is one of Inter's; find its FreeType face for coverage.
        cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
        if (cairo_font_face_get_type(primary.cairo) == CAIRO_FONT_TYPE_FT) {
            primary.ft = cairo_ft_scaled_font_lock_face(font);
            cairo_ft_scaled_font_unlock_face(font);
        }
        return primary;
    }();
    for (std::size_t at = 0; at < text.size();) {
        auto [c, n] = decode(text, at);
        if (n == 0) return TextRun{{}, 0, run.ascent, run.descent};
        std::string_view bytes = text.substr(at, n);
        at += n;
        if (onlyForShaping(c) && !primary.covers(c)) continue;
        FontFace face = faceFor(c, primary);
        if (pieces.empty() || pieces.back().first.cairo != face.cairo)
            pieces.emplace_back(face, std::string());
        pieces.back().second += bytes;
    }

    cairo_matrix_t fontMatrix, ctm;
    cairo_get_font_matrix(cr, &fontMatrix);
    cairo_get_matrix(cr, &ctm);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_get_font_options(cr, options);
    for (auto& [face, utf8] : pieces) {
        std::shared_ptr<cairo_scaled_font_t> font(
            cairo_scaled_font_create(face.cairo, &fontMatrix, &ctm, options),
            cairo_scaled_font_destroy);
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        cairo_status_t status = cairo_scaled_font_text_to_glyphs(
            font.get(), run.width, 0, utf8.data(), int(utf8.size()), &glyphs, &count, nullptr,
            nullptr, nullptr);
        if (status == CAIRO_STATUS_SUCCESS && count > 0) {
            TextRun::Span span{font, face.colour, {glyphs, glyphs + count}};
            cairo_text_extents_t te;
            cairo_scaled_font_glyph_extents(font.get(), span.glyphs.data(), count, &te);
            run.width += te.x_advance;
            run.spans.push_back(std::move(span));
        }
        if (glyphs) cairo_glyph_free(glyphs);
    }
    cairo_font_options_destroy(options);
    return run;
}

void showTextRun(cairo_t* cr, const TextRun& run, double x, double baseline, double colourAlpha) {
    cairo_save(cr);
    cairo_translate(cr, x, baseline);
    for (const TextRun::Span& span : run.spans) {
        cairo_set_scaled_font(cr, span.font.get());
        if (!span.colour) {
            cairo_show_glyphs(cr, span.glyphs.data(), int(span.glyphs.size()));
            continue;
        }
        // Picture glyphs ignore the source colour; their opacity is applied as a whole.
        cairo_save(cr);
        cairo_push_group(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_show_glyphs(cr, span.glyphs.data(), int(span.glyphs.size()));
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, colourAlpha);
        cairo_restore(cr);
    }
    cairo_restore(cr);
}

double measureText(std::string_view text, double pointSize, double weight) {
    static cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    setInterFont(cr, pointSize, weight);
    double width = layoutText(cr, text).width;
    cairo_destroy(cr);
    return width;
}

} // namespace render
