#pragma once

// A glyph atlas: the glyphs of the game's fonts for every character code page 932 can stand for,
// rendered beforehand with the desktop's own glyph source. make_glyph_atlas writes one at build
// time from the installed IPA fonts, so text drawn from it in the browser is the desktop's text,
// pixel for pixel.
//
// The atlas is an index and one data file for each font (fonts that come out the same, such as
// two names of one face, share theirs). The index names the fonts as the game asks for them:
// face name, height and weight. A font's data is read only when the game first draws in it.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "render/glyph_source.h"

namespace corvan {

struct GlyphAtlasFiles {
    std::string index;
    std::vector<std::string> fonts;  // font file N is fonts[N]
};

// The characters an atlas holds: every one code page 932 stands for, bar the control characters.
std::vector<char32_t> cp932Repertoire();

// Renders `characters` in each of `fonts` with `source`.
GlyphAtlasFiles makeGlyphAtlas(GlyphSource& source, const std::vector<FontSpec>& fonts,
                               const std::vector<char32_t>& characters);

// The glyph source of an atlas. A font the atlas does not have, or whose data cannot be read or
// is damaged, draws nothing and is reported once in the warnings.
class AtlasGlyphs : public GlyphSource {
public:
    // The bytes of font file N, or nullopt when they cannot be had.
    using FontLoader = std::function<std::optional<std::string>(int file)>;

    // Nullopt, with `error` saying why, when `index` is not an atlas index.
    static std::unique_ptr<AtlasGlyphs> open(std::string_view index, FontLoader loadFont,
                                             std::string& error);

    std::optional<GlyphMask> glyph(const FontSpec& font, char32_t ch) override;
    int ascent(const FontSpec& font) override;
    std::optional<int> fullWidthBlank(const FontSpec& font) override;
    std::vector<std::string> takeWarnings() override;

private:
    struct FontData;
    AtlasGlyphs() = default;
    // The data of the font, read on first use; null when there is none.
    const FontData* font(const FontSpec& wanted);
    void warn(std::string message);

    FontLoader loadFont_;
    std::map<std::tuple<std::string, int, bool>, int> files_;  // font -> file
    std::map<int, std::shared_ptr<const FontData>> loaded_;    // by file; null when unreadable
    std::set<std::string> reported_;
    std::vector<std::string> pending_;
};

}  // namespace corvan
