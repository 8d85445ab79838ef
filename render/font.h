#pragma once

// The text drawer: draws code page 932 text onto the game's bitmaps, one colour, no
// anti-aliasing, over a hollow background. Its glyphs come from a glyph source
// (render/glyph_source.h): on the desktop FreeType renders them from the font files fontconfig
// finds, with the game's Windows face names mapped to the IPA fonts (render/system_fonts.h).
// Every glyph is asked for once per face, height, style and character and kept.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/bitmap.h"
#include "render/glyph_source.h"

namespace corvan {

// A game face name and the installed family that stands in for it.
struct FontAlias {
    std::string gameFace;
    std::string family;
};

// The game's faces on Debian's fonts-ipafont: ＭＳ ゴシック → IPAGothic,
// ＭＳＰゴシック and ＭＳ Ｐゴシック → IPAPGothic, ＭＳ 明朝 → IPAMincho.
const std::vector<FontAlias>& defaultFontAliases();

// Owns its glyph source and the glyph cache. Not copyable; one per game is enough.
//
// Layout: a character's cell has its top-left corner at the position given; the baseline lies
// round(typographic ascender x height / units per em) pixels below it (14 of 16 and 26 of 30 for
// the IPA fonts). A byte from 0x20 to 0x7E is a one-byte character; any other byte starts a
// two-byte character. A character with no Unicode form or no glyph in any installed face draws
// nothing and takes the room of a blank cell, so the text after it stays where it belongs.
class TextRenderer {
public:
    explicit TextRenderer(std::unique_ptr<GlyphSource> glyphs);
    // The system's fonts (render/system_fonts.cpp; not in the browser's build), with the default
    // aliases or others; a family that is not installed gives a warning.
    TextRenderer();
    explicit TextRenderer(std::vector<FontAlias> aliases);
    ~TextRenderer();
    TextRenderer(TextRenderer&&) noexcept;
    TextRenderer& operator=(TextRenderer&&) noexcept;
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Draws one character given as code page 932 bytes (1 or 2; more are ignored) with its cell's
    // top-left corner at (x, y). Only the glyph's set pixels are written, in `colour` (0xBBGGRR);
    // everything is clipped to the bitmap. Returns the advance in pixels.
    int drawCharacter(Bitmap& target, int x, int y, const std::uint8_t* bytes, int count,
                      const FontSpec& font, std::uint32_t colour);

    // A whole code page 932 string, character after character. Returns the total advance.
    int drawText(Bitmap& target, int x, int y, std::string_view cp932, const FontSpec& font,
                 std::uint32_t colour);

    // The advance that drawText would return, without drawing.
    int textWidth(std::string_view cp932, const FontSpec& font);

    // Pixels from the cell's top to the baseline.
    int ascent(const FontSpec& font);

    // Problems met since the last call (a Japanese font that is not installed, no font at all),
    // each reported once in the renderer's life.
    std::vector<std::string> takeWarnings();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvan
