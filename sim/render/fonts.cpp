// Finding and loading faces: Inter and the colour emoji face by their Debian paths first (fast
// and fixed), fontconfig as a fallback, and Cairo's default face when Inter is missing
// (reported once on stderr).
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

// The file and face index of fontconfig's best match for `pattern` when it has `c` (any
// character when c is 0) and, given a family prefix, belongs to it.
std::pair<std::string, int> fontconfigMatch(FcPattern* pattern, char32_t c,
                                            std::string_view family) {
    std::pair<std::string, int> found{"", 0};
    if (!FcInit()) return found;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    FcChar8* name = nullptr;
    FcCharSet* chars = nullptr;
    int index = 0;
    // Fontconfig always answers something; only a face that fits will do.
    bool fits = match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                (family.empty() ||
                 (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch &&
                  std::string_view(reinterpret_cast<const char*>(name)).starts_with(family))) &&
                (c == 0 || (FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                            FcCharSetHasChar(chars, c)));
    if (fits) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        found = {reinterpret_cast<const char*>(file), index};
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return found;
}

std::string findWithFontconfig(const Weight& w, bool display) {
    const char* family = display ? "Inter Display" : "Inter";
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, w.fcWeight);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    return fontconfigMatch(pattern, 0, "Inter").first;
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
FontFace loadFace(const std::string& file, int index) {
    static std::map<std::pair<std::string, int>, FontFace> loaded;
    auto key = std::make_pair(file, index);
    if (auto it = loaded.find(key); it != loaded.end()) return it->second;
    FontFace face;
    FT_Face ft = nullptr;
    if (!file.empty() && freetype() && FT_New_Face(freetype(), file.c_str(), index, &ft) == 0) {
        face.colour = FT_HAS_COLOR(ft);
        face.cairo = cairo_ft_font_face_create_for_ft_face(ft, face.colour ? FT_LOAD_COLOR : 0);
        if (cairo_font_face_status(face.cairo) == CAIRO_STATUS_SUCCESS) {
            face.ft = ft;
        } else {
            cairo_font_face_destroy(face.cairo);
            FT_Done_Face(ft);
            face = {};
        }
    }
    loaded[key] = face;
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

} // namespace

std::string interFontFile(double weight, bool display) {
    const Weight& w = kWeights[nearestWeight(weight)];
    std::string path = std::string("/usr/share/fonts/opentype/inter/") +
                       (display ? "InterDisplay-" : "Inter-") + w.style + ".otf";
    if (fileExists(path)) return path;
    return findWithFontconfig(w, display);
}

bool FontFace::covers(char32_t c) const {
    if (!cairo) return false;
    return !ft || FT_Get_Char_Index(ft, c) != 0;
}

FontFace interFontFace(double weight, double pointSize) {
    bool display = pointSize >= kDisplayFromPoints;
    std::size_t index = nearestWeight(weight);
    FontFace face = loadFace(interFontFile(kWeights[index].uiWeight, display), 0);
    if (!face.cairo) face.cairo = fallbackFace(kWeights[index].uiWeight >= 0.3);
    return face;
}

FontFace emojiFontFace() {
    static const std::string file = [] {
        std::string path = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf";
        if (fileExists(path)) return path;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY,
                           reinterpret_cast<const FcChar8*>("Noto Color Emoji"));
        return fontconfigMatch(pattern, 0, "Noto Color Emoji").first;
    }();
    return loadFace(file, 0);
}

FontFace fontFaceCovering(char32_t c) {
    static std::map<char32_t, std::pair<std::string, int>> files;
    auto it = files.find(c);
    if (it == files.end()) {
        FcPattern* pattern = FcPatternCreate();
        FcCharSet* chars = FcCharSetCreate();
        FcCharSetAddChar(chars, c);
        FcPatternAddCharSet(pattern, FC_CHARSET, chars);
        FcCharSetDestroy(chars);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        it = files.emplace(c, fontconfigMatch(pattern, c, "")).first;
    }
    return it->second.first.empty() ? FontFace{} : loadFace(it->second.first, it->second.second);
}

void setInterFont(cairo_t* cr, double pointSize, double weight) {
    cairo_set_font_face(cr, interFontFace(weight, pointSize).cairo);
    cairo_set_font_size(cr, pointSize);
    cairo_set_font_options(cr, textOptions());
}

} // namespace render
