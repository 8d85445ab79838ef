#include "render/font_faces.h"

#include FT_BITMAP_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>

namespace corvan::font_detail {

namespace {

constexpr const char* kFontPackage = "fonts-ipafont";

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

// fontconfig knows nothing of the Windows names: "ＭＳ ゴシック" alone matches a Latin face. A
// binding of "same" makes the installed family count as strongly as the name asked for.
std::string aliasRules(const std::vector<FontAlias>& aliases) {
    std::string xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
    for (const FontAlias& alias : aliases) {
        xml += "<alias binding=\"same\"><family>" + xmlEscaped(alias.gameFace) +
               "</family><prefer><family>" + xmlEscaped(alias.family) +
               "</family></prefer></alias>\n";
    }
    xml += "</fontconfig>\n";
    return xml;
}

// A pattern asking for a family that shows Japanese, with the configuration's rules applied.
FcPattern* japanesePattern(FcConfig* config, const std::string& family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

bool hasFamily(FcPattern* font, const std::string& family) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) {
            return true;
        }
    }
    return false;
}

// Row r of a FreeType bitmap counted from the top, whichever way its rows flow.
const unsigned char* bitmapRow(const FT_Bitmap& bitmap, unsigned r) {
    if (bitmap.pitch >= 0) return bitmap.buffer + static_cast<std::size_t>(r) * bitmap.pitch;
    return bitmap.buffer + static_cast<std::size_t>(bitmap.rows - 1 - r) * -bitmap.pitch;
}

bool bitmapPixel(const FT_Bitmap& bitmap, unsigned x, unsigned y) {
    const unsigned char* row = bitmapRow(bitmap, y);
    switch (bitmap.pixel_mode) {
        case FT_PIXEL_MODE_MONO: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case FT_PIXEL_MODE_GRAY: return row[x] >= (bitmap.num_grays > 1 ? bitmap.num_grays / 2 : 1);
        case FT_PIXEL_MODE_BGRA: return row[x * 4 + 3] >= 128;
        default: return false;
    }
}

}  // namespace

FontLibrary::FontLibrary(std::vector<FontAlias> aliases) : aliases_(std::move(aliases)) {
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        warn("The font renderer could not be started: no text can be drawn.");
    }
    config_ = FcInitLoadConfigAndFonts();
    if (!config_) {
        warn("The font configuration could not be loaded: no text can be drawn.");
        return;
    }
    const std::string rules = aliasRules(aliases_);
    if (!FcConfigParseAndLoadFromMemory(config_, reinterpret_cast<const FcChar8*>(rules.c_str()),
                                        FcTrue)) {
        warn(std::string("The game's font names could not be mapped to installed fonts. ") +
             "Install the Debian package " + kFontPackage + ".");
    }
}

FontLibrary::~FontLibrary() {
    for (auto& [key, face] : faces_) {
        if (face) FT_Done_Face(face);
    }
    if (library_) FT_Done_FreeType(library_);
    if (fallbackSet_) FcFontSetDestroy(fallbackSet_);
    if (config_) FcConfigDestroy(config_);
}

void FontLibrary::warn(std::string message) {
    if (reported_.insert(message).second) pending_.push_back(std::move(message));
}

std::vector<std::string> FontLibrary::takeWarnings() {
    std::vector<std::string> out;
    out.swap(pending_);
    return out;
}

FT_Face FontLibrary::openFace(const std::string& file, int index) {
    const auto key = std::make_pair(file, index);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    if (!library_ || FT_New_Face(library_, file.c_str(), index, &face) != 0) face = nullptr;
    faces_.emplace(key, face);  // a file that fails is not tried again
    return face;
}

FontLibrary::Match FontLibrary::match(const std::string& family, const std::string& wanted) {
    Match out;
    if (!config_) return out;
    FcPattern* pattern = japanesePattern(config_, family);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(config_, pattern, &result);
    FcPatternDestroy(pattern);
    if (!font) return out;
    FcChar8* value = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &value) == FcResultMatch) {
        out.file = reinterpret_cast<const char*>(value);
    }
    FcPatternGetInteger(font, FC_INDEX, 0, &out.index);
    if (FcPatternGetString(font, FC_FAMILY, 0, &value) == FcResultMatch) {
        out.family = reinterpret_cast<const char*>(value);
    }
    out.isWanted = wanted.empty() || hasFamily(font, wanted);
    FcPatternDestroy(font);
    return out;
}

FT_Face FontLibrary::primaryFace(const std::string& gameFace) {
    if (auto it = primary_.find(gameFace); it != primary_.end()) return it->second;
    std::string wanted;
    for (const FontAlias& alias : aliases_) {
        if (alias.gameFace == gameFace) wanted = alias.family;
    }
    const Match found = match(gameFace, wanted);
    FT_Face face = found.file.empty() ? nullptr : openFace(found.file, found.index);
    if (!face) {
        warn("No font could be found for \"" + gameFace +
             "\": text in it is not drawn. Install the Debian package " + kFontPackage + ".");
    } else if (!found.isWanted) {
        warn("The Japanese font " + wanted + " for \"" + gameFace + "\" is not installed; text " +
             "is drawn with " + found.family + " instead. Install the Debian package " +
             kFontPackage + ".");
    }
    primary_.emplace(gameFace, face);
    return face;
}

FT_Face FontLibrary::faceFor(FT_Face primary, char32_t ch) {
    if (primary && FT_Get_Char_Index(primary, ch) != 0) return primary;
    if (auto it = fallback_.find(ch); it != fallback_.end()) return it->second;
    if (!fallbackSet_ && config_) {
        FcPattern* pattern = japanesePattern(config_, "sans-serif");
        FcResult result = FcResultNoMatch;
        fallbackSet_ = FcFontSort(config_, pattern, FcFalse, nullptr, &result);
        FcPatternDestroy(pattern);
    }
    FT_Face found = nullptr;
    for (int i = 0; fallbackSet_ && i < fallbackSet_->nfont && !found; ++i) {
        FcPattern* font = fallbackSet_->fonts[i];
        FcCharSet* charset = nullptr;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch ||
            !FcCharSetHasChar(charset, ch) ||
            FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) {
            continue;
        }
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        FT_Face face = openFace(reinterpret_cast<const char*>(file), index);
        if (face && FT_Get_Char_Index(face, ch) != 0) found = face;
    }
    fallback_.emplace(ch, found);
    return found;
}

int FontLibrary::ascent(FT_Face face, int height) {
    if (!face) return height * 7 / 8;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (face->units_per_EM == 0) {  // a bitmap-only face: take its own metrics at this size
        if (FT_Set_Pixel_Sizes(face, 0, height) != 0) return height * 7 / 8;
        return static_cast<int>((face->size->metrics.ascender + 32) >> 6);
    }
    const double units = os2 && os2->version != 0xFFFF ? os2->sTypoAscender : face->ascender;
    return static_cast<int>(std::lround(units * height / face->units_per_EM));
}

std::optional<GlyphMask> FontLibrary::render(FT_Face face, char32_t ch, int height, bool bold) {
    if (!face || !library_) return std::nullopt;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(height)) != 0) return std::nullopt;
    const FT_UInt glyph = FT_Get_Char_Index(face, ch);
    // One-bit rendering with the font's own hinting: the crisp strokes of the original's
    // bitmap fonts, one colour and no blending with the background.
    if (FT_Load_Glyph(face, glyph, FT_LOAD_TARGET_MONO) != 0) return std::nullopt;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
        return std::nullopt;
    }

    FT_Bitmap bitmap;
    FT_Bitmap_Init(&bitmap);
    if (slot->bitmap.buffer && FT_Bitmap_Copy(library_, &slot->bitmap, &bitmap) != 0) {
        return std::nullopt;
    }
    // Synthetic bold as the original's: every stroke one pixel wider to the right.
    if (bold && bitmap.buffer && bitmap.width > 0 && bitmap.rows > 0) {
        FT_Bitmap_Embolden(library_, &bitmap, 64, 0);
    }

    GlyphMask mask;
    mask.left = slot->bitmap_left;
    mask.top = slot->bitmap_top;
    mask.advance = static_cast<int>((slot->advance.x + 32) >> 6) + (bold ? 1 : 0);
    if (bitmap.buffer) {
        mask.width = static_cast<int>(bitmap.width);
        mask.height = static_cast<int>(bitmap.rows);
        mask.bits.resize(static_cast<std::size_t>(mask.width) * mask.height);
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            for (unsigned x = 0; x < bitmap.width; ++x) {
                mask.bits[static_cast<std::size_t>(y) * mask.width + x] =
                    bitmapPixel(bitmap, x, y) ? 1 : 0;
            }
        }
    }
    FT_Bitmap_Done(library_, &bitmap);
    return mask;
}

}  // namespace corvan::font_detail
