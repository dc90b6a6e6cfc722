// Finding and loading Inter: the Debian path first (fast and fixed), fontconfig as a fallback,
// and Cairo's default face when neither has it (reported once on stderr).
#include "sim/render/fonts.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <sys/stat.h>

namespace render {

namespace {

struct Weight {
    double uiWeight;
    const char* style; // the file's style name
    int fcWeight;
};
// The platform's nine weights and Inter's matching cuts.
constexpr std::array<Weight, 9> kWeights = {{
    {-0.8, "Thin", FC_WEIGHT_THIN},
    {-0.6, "ExtraLight", FC_WEIGHT_EXTRALIGHT},
    {-0.4, "Light", FC_WEIGHT_LIGHT},
    {0.0, "Regular", FC_WEIGHT_REGULAR},
    {0.23, "Medium", FC_WEIGHT_MEDIUM},
    {0.3, "SemiBold", FC_WEIGHT_SEMIBOLD},
    {0.4, "Bold", FC_WEIGHT_BOLD},
    {0.56, "ExtraBold", FC_WEIGHT_EXTRABOLD},
    {0.62, "Black", FC_WEIGHT_BLACK},
}};
constexpr double kDisplayFromPoints = 20;

std::size_t nearestWeight(double weight) {
    if (!std::isfinite(weight)) weight = 0;
    std::size_t best = 3;
    for (std::size_t i = 0; i < kWeights.size(); ++i)
        if (std::fabs(kWeights[i].uiWeight - weight) < std::fabs(kWeights[best].uiWeight - weight))
            best = i;
    return best;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string findWithFontconfig(const Weight& w, bool display) {
    if (!FcInit()) return {};
    const char* family = display ? "Inter Display" : "Inter";
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, w.fcWeight);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    FcChar8* matched = nullptr;
    // Fontconfig always answers something; only a face of the Inter family will do.
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch &&
        std::string_view(reinterpret_cast<const char*>(matched)).starts_with("Inter") &&
        FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

FT_Library freetype() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

cairo_font_face_t* fallbackFace(bool bold) {
    static bool warned = false;
    if (!warned) {
        std::fprintf(stderr, "vey-sim: the Inter font (fonts-inter) is not installed; "
                             "labels use the default sans-serif face\n");
        warned = true;
    }
    static cairo_font_face_t* faces[2] = {
        cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL),
        cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD)};
    return faces[bold ? 1 : 0];
}

// Faces live as long as the process: a handful at most, shared by every label.
cairo_font_face_t* interFace(double weight, double pointSize) {
    bool display = pointSize >= kDisplayFromPoints;
    std::size_t index = nearestWeight(weight);
    static std::map<std::pair<bool, std::size_t>, cairo_font_face_t*> faces;
    auto key = std::make_pair(display, index);
    if (auto it = faces.find(key); it != faces.end()) return it->second;

    cairo_font_face_t* face = nullptr;
    std::string file = interFontFile(kWeights[index].uiWeight, display);
    FT_Face ft = nullptr;
    if (!file.empty() && freetype() && FT_New_Face(freetype(), file.c_str(), 0, &ft) == 0) {
        face = cairo_ft_font_face_create_for_ft_face(ft, 0);
        if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
            cairo_font_face_destroy(face);
            FT_Done_Face(ft);
            face = nullptr;
        }
    }
    if (!face) face = fallbackFace(kWeights[index].uiWeight >= 0.3);
    faces[key] = face;
    return face;
}

cairo_font_options_t* textOptions() {
    static cairo_font_options_t* options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        return o;
    }();
    return options;
}

// The longest prefix of at most `limit` bytes that does not split a character.
std::string_view cutAtCharacter(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

} // namespace

std::string interFontFile(double weight, bool display) {
    const Weight& w = kWeights[nearestWeight(weight)];
    std::string path = std::string("/usr/share/fonts/opentype/inter/") +
                       (display ? "InterDisplay-" : "Inter-") + w.style + ".otf";
    if (fileExists(path)) return path;
    return findWithFontconfig(w, display);
}

void setInterFont(cairo_t* cr, double pointSize, double weight) {
    cairo_set_font_face(cr, interFace(weight, pointSize));
    cairo_set_font_size(cr, pointSize);
    cairo_set_font_options(cr, textOptions());
}

TextRun layoutText(cairo_t* cr, std::string_view text) {
    TextRun run;
    text = cutAtCharacter(text, kMaxTextBytes);
    cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
    cairo_font_extents_t fe;
    cairo_scaled_font_extents(font, &fe);
    run.ascent = fe.ascent;
    run.descent = fe.descent;
    if (text.empty()) return run;
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    cairo_status_t status = cairo_scaled_font_text_to_glyphs(
        font, 0, 0, text.data(), int(text.size()), &glyphs, &count, nullptr, nullptr, nullptr);
    if (status != CAIRO_STATUS_SUCCESS || count <= 0) {
        if (glyphs) cairo_glyph_free(glyphs);
        return run;
    }
    run.glyphs.assign(glyphs, glyphs + count);
    cairo_glyph_free(glyphs);
    cairo_text_extents_t te;
    cairo_scaled_font_glyph_extents(font, run.glyphs.data(), count, &te);
    run.width = te.x_advance;
    return run;
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
