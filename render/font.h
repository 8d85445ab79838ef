#pragma once

// The text drawer: draws code page 932 text onto the game's bitmaps, one colour, no
// anti-aliasing, over a hollow background. FreeType renders the glyphs, fontconfig finds the font
// files, and the game's Windows face names are mapped to the IPA fonts. Every glyph is rendered
// once per face, height, style and character and kept; every font file is opened once.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/bitmap.h"

namespace corvan {

// A font as the game asks for it.
struct FontSpec {
    std::string face;  // the game's face name in UTF-8, such as "ＭＳ ゴシック"
    int height = 16;   // cell height in pixels: ascent plus descent
    bool bold = false;
};

// A game face name and the installed family that stands in for it.
struct FontAlias {
    std::string gameFace;
    std::string family;
};

// The game's faces on Debian's fonts-ipafont: ＭＳ ゴシック → IPAGothic,
// ＭＳＰゴシック and ＭＳ Ｐゴシック → IPAPGothic, ＭＳ 明朝 → IPAMincho.
const std::vector<FontAlias>& defaultFontAliases();

// Owns a FreeType library, a fontconfig configuration of its own (the system's plus the aliases),
// the opened faces and the glyph cache. Not copyable; one per game is enough.
//
// Layout: a character's cell has its top-left corner at the position given; the baseline lies
// round(typographic ascender x height / units per em) pixels below it (14 of 16 and 26 of 30 for
// the IPA fonts). A byte from 0x20 to 0x7E is a one-byte character; any other byte starts a
// two-byte character. A character with no Unicode form or no glyph in any installed face draws
// nothing and takes the room of a blank cell, so the text after it stays where it belongs.
class TextRenderer {
public:
    TextRenderer();
    // With other aliases than the default ones; a family that is not installed gives a warning.
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
