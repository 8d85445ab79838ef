#pragma once

// Where the text drawer's glyphs come from: the system's fonts on the desktop
// (render/system_fonts.h), a glyph atlas rendered from those same fonts in the browser
// (render/glyph_atlas.h). A source renders one Unicode character at a time, in one colour with
// no anti-aliasing; the drawer (render/font.h) decodes the text, places the glyphs and keeps them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

// A font as the game asks for it.
struct FontSpec {
    std::string face;  // the game's face name in UTF-8, such as "ＭＳ ゴシック"
    int height = 16;   // cell height in pixels: ascent plus descent
    bool bold = false;
    bool operator==(const FontSpec&) const = default;
};

// One rendered glyph: its set pixels and where they sit relative to the pen on the baseline.
struct GlyphMask {
    int left = 0;  // columns from the pen position to the mask's first column
    int top = 0;   // rows from the mask's first row down to the baseline
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;  // width x height, one byte per pixel, 1 = set
    int advance = 0;
    bool operator==(const GlyphMask&) const = default;
};

class GlyphSource {
public:
    virtual ~GlyphSource() = default;

    // The glyph of `ch` in the font, from the face the game's name stands for or, when that face
    // lacks it, from another face that has it; nullopt when none can draw it.
    virtual std::optional<GlyphMask> glyph(const FontSpec& font, char32_t ch) = 0;

    // Pixels from the cell's top to the baseline.
    virtual int ascent(const FontSpec& font) = 0;

    // The advance of the font's own full-width blank (U+3000); nullopt when its face has none.
    virtual std::optional<int> fullWidthBlank(const FontSpec& font) = 0;

    // Problems met since the last call (a font that is missing), each reported once.
    virtual std::vector<std::string> takeWarnings() = 0;
};

}  // namespace corvan
