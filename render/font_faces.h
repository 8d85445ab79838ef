#pragma once

// The font files behind the desktop's glyph source (render/system_fonts.h): finds them through
// fontconfig (with the game's face names mapped onto installed families), opens each once with
// FreeType and renders single glyphs as one-bit masks.

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "render/font.h"

namespace corvan::font_detail {

// Owns the FreeType library, the fontconfig configuration and every opened face.
class FontLibrary {
public:
    explicit FontLibrary(std::vector<FontAlias> aliases);
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // The face that draws a game face name, resolved once per name; null when there is no font
    // at all. A mapped name that resolves to another family than its alias adds a warning.
    FT_Face primaryFace(const std::string& gameFace);

    // `primary` when it has the character, else the first installed face that has it (the search
    // is done once per character); null when none has it.
    FT_Face faceFor(FT_Face primary, char32_t ch);

    // Pixels from the cell's top to the baseline at a cell height.
    static int ascent(FT_Face face, int height);

    // The character in monochrome at pixels-per-em = height, made one pixel wider to the right
    // when bold; nullopt when FreeType fails on it.
    std::optional<GlyphMask> render(FT_Face face, char32_t ch, int height, bool bold);

    std::vector<std::string> takeWarnings();

private:
    FT_Face openFace(const std::string& file, int index);
    struct Match {
        std::string file;  // empty when nothing matches
        int index = 0;
        std::string family;
        bool isWanted = false;  // the match is the family `wanted` (or nothing was wanted)
    };
    // The best installed face for a family name as fontconfig's rules (and the aliases) see it.
    Match match(const std::string& family, const std::string& wanted);
    void warn(std::string message);

    std::vector<FontAlias> aliases_;
    FT_Library library_ = nullptr;
    FcConfig* config_ = nullptr;
    FcFontSet* fallbackSet_ = nullptr;  // every face in order of preference, made on first use
    std::map<std::pair<std::string, int>, FT_Face> faces_;  // by file and face index
    std::map<std::string, FT_Face> primary_;                // by game face name
    std::map<char32_t, FT_Face> fallback_;                  // by character
    std::set<std::string> reported_;
    std::vector<std::string> pending_;
};

}  // namespace corvan::font_detail
