// Font lookup through fontconfig and text metrics from the font's tables.
//
// The metrics follow the rules by which Windows turns a TrueType face into
// TEXTMETRICA values, so that a layout measured here matches the one made
// on Windows with the same font file:
//   - a negative lfHeight is the em height in pixels; a positive one is the
//     cell height (win ascent + win descent); 0 means a cell of 16 pixels;
//   - every design value is scaled with the 16.16 factor pixels per em over
//     units per em and rounded to the nearest whole pixel;
//   - ascent and descent come from the OS/2 win values (hhea when those are
//     0), the height is their sum, the internal leading the part of the cell
//     beyond the em, the external leading the hhea line gap less what the
//     win values already cover;
//   - the average width is OS/2 xAvgCharWidth (at least 1), the maximum the
//     width of the font's bounding box.
#include "font_faces.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <mutex>

namespace jx::posix::fonts {
namespace {

std::mutex g_mutex; // fontconfig and one FreeType library, used one call at a time

// The layer's own font configuration and FreeType library, made on first use
// and released when the library unloads. A configuration of its own leaves
// the process's default one to the host, which may use fontconfig too.
struct FontSystem {
    FcConfig* config = nullptr;
    FT_Library library = nullptr;
    ~FontSystem() {
        if (library) FT_Done_FreeType(library);
        if (config) FcConfigDestroy(config);
    }
};
FontSystem g_fonts;

constexpr LONG kDefaultCellHeight = 16;

// The face name as Windows reads it: at most LF_FACESIZE - 1 characters,
// whether or not the host terminated it.
std::string face_name(const LOGFONTA& font) {
    size_t n = 0;
    while (n < LF_FACESIZE - 1 && font.lfFaceName[n]) ++n;
    return std::string(font.lfFaceName, n);
}

int fc_weight(LONG weight) {
    if (weight <= 0) return FC_WEIGHT_REGULAR;
    return weight >= FW_SEMIBOLD ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
}

// The exact family, or nothing: fontconfig's own aliases would map an
// unknown name to some other family, where the system's mapper uses its
// default face.
bool match_family(const std::string& family, const LOGFONTA& font, Face& face) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, fc_weight(font.lfWeight));
    FcPatternAddInteger(pattern, FC_SLANT, font.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(g_fonts.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(g_fonts.config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    bool found = false;
    FcChar8* matched_family = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FAMILY, 0, &matched_family) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        strcasecmp(reinterpret_cast<const char*>(matched_family), family.c_str()) == 0) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        face.file = reinterpret_cast<const char*>(file);
        face.index = index;
        face.family = reinterpret_cast<const char*>(matched_family);
        found = true;
    }
    FcPatternDestroy(match);
    return found;
}

bool resolve_locked(const LOGFONTA& font, Face& face) {
    if (!g_fonts.config) g_fonts.config = FcInitLoadConfigAndFonts();
    if (!g_fonts.config) return false;
    const std::string wanted = face_name(font);
    if (!wanted.empty() && match_family(wanted, font, face)) return true;
    return match_family(kDefaultFace, font, face);
}

BYTE clamp_char(unsigned value) {
    return static_cast<BYTE>(std::min(value, 255u));
}

// The family nibble of tmPitchAndFamily from the face's PANOSE class.
BYTE family_of(const TT_OS2* os2, bool fixed_pitch) {
    enum { kScript = 3, kDecorative = 4, kPictorial = 5, kTextDisplay = 2 };
    switch (os2->panose[0]) {
    case kScript:
        return FF_SCRIPT;
    case kDecorative:
    case kPictorial:
        return FF_DECORATIVE;
    case kTextDisplay:
        if (fixed_pitch) return FF_MODERN;
        switch (os2->panose[1]) { // serif style: the sans styles are 11 to 13
        case 11:
        case 12:
        case 13:
            return FF_SWISS;
        default:
            return FF_ROMAN;
        }
    default:
        return FF_DONTCARE;
    }
}

bool measure_face(FT_Face ft, const LOGFONTA& font, int dpi_x, int dpi_y, TEXTMETRICA& tm) {
    const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
    if (!os2 || !hhea || ft->units_per_EM == 0) return false;

    FT_Long ascent = os2->usWinAscent;
    FT_Long descent = os2->usWinDescent;
    if (ascent + descent == 0) {
        ascent = hhea->Ascender;
        descent = -hhea->Descender;
    }
    const FT_Long cell = ascent + descent;
    if (cell <= 0) return false;

    // The em height in pixels; heights beyond any sensible font stop at a
    // size FreeType's 16.16 scale can still hold.
    LONG height = font.lfHeight == 0 ? kDefaultCellHeight : font.lfHeight;
    int64_t ppem;
    if (height < 0)
        ppem = -static_cast<int64_t>(height);
    else
        ppem = FT_MulDiv(ft->units_per_EM, height, cell);
    ppem = std::clamp<int64_t>(ppem, 1, 16384);

    // Pixels per design unit in 16.16, applied with rounding to the nearest
    // pixel. (Rounding through FreeType's 26.6 sizes instead would round
    // twice and come out a pixel wider now and then.)
    const FT_Fixed scale = FT_MulDiv(static_cast<FT_Long>(ppem), 1 << 16, ft->units_per_EM);
    const auto scaled = [scale](FT_Long design) {
        return static_cast<LONG>(FT_MulFix(design, scale));
    };

    std::memset(&tm, 0, sizeof tm);
    tm.tmAscent = scaled(ascent);
    tm.tmDescent = scaled(descent);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = scaled(cell - ft->units_per_EM);
    const FT_Long hhea_cell = hhea->Ascender - hhea->Descender;
    tm.tmExternalLeading = std::max<LONG>(0, scaled(hhea->Line_Gap - (cell - hhea_cell)));
    tm.tmAveCharWidth = std::max<LONG>(1, scaled(os2->xAvgCharWidth));
    tm.tmMaxCharWidth = scaled(ft->bbox.xMax - ft->bbox.xMin);
    tm.tmWeight = os2->usWeightClass ? os2->usWeightClass : FW_NORMAL;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = dpi_x;
    tm.tmDigitizedAspectY = dpi_y;
    // The 8-bit character range of a text face starts two below its first
    // character (blank at the latest), and the character just below that
    // is the default; the range ends at 255.
    const unsigned first = std::min<unsigned>(os2->usFirstCharIndex, 0x20);
    tm.tmFirstChar = clamp_char(first >= 2 ? first - 2 : 0);
    tm.tmDefaultChar = clamp_char(first >= 1 ? first - 1 : 0);
    tm.tmLastChar = clamp_char(std::max<unsigned>(os2->usLastCharIndex, 0xFF));
    tm.tmBreakChar = 0x20;
    tm.tmItalic = (font.lfItalic || (ft->style_flags & FT_STYLE_FLAG_ITALIC)) ? 255 : 0;
    tm.tmUnderlined = font.lfUnderline ? 255 : 0;
    tm.tmStruckOut = font.lfStrikeOut ? 255 : 0;
    const bool fixed_pitch = FT_IS_FIXED_WIDTH(ft);
    tm.tmPitchAndFamily = static_cast<BYTE>(family_of(os2, fixed_pitch) | TMPF_VECTOR |
                                            TMPF_TRUETYPE | (fixed_pitch ? 0 : TMPF_FIXED_PITCH));
    tm.tmCharSet = ANSI_CHARSET;
    return true;
}

} // namespace

bool resolve(const LOGFONTA& font, Face& face) {
    std::lock_guard<std::mutex> lock(g_mutex);
    return resolve_locked(font, face);
}

bool measure(const LOGFONTA& font, int dpi_x, int dpi_y, TEXTMETRICA& metrics) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Face face;
    if (!resolve_locked(font, face)) return false;
    if (!g_fonts.library && FT_Init_FreeType(&g_fonts.library) != 0) {
        g_fonts.library = nullptr;
        return false;
    }
    FT_Face ft = nullptr;
    if (FT_New_Face(g_fonts.library, face.file.c_str(), face.index, &ft) != 0) return false;
    const bool ok = measure_face(ft, font, dpi_x, dpi_y, metrics);
    FT_Done_Face(ft);
    return ok;
}

} // namespace jx::posix::fonts
