// The glyph atlas gives the text drawer the very glyphs of the installed fonts it was made from,
// so the browser draws the desktop's text; what it lacks or cannot read draws nothing and is
// reported.

#include "render/glyph_atlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine/cp932.h"
#include "render/system_fonts.h"

namespace corvan {
namespace {

const FontSpec kMessageFont{"ＭＳＰゴシック", 16, true};
const FontSpec kLargeMincho{"ＭＳ 明朝", 30, false};
const FontSpec kPlateFont{"ＭＳ Ｐゴシック", 24, false};

// Every character of these texts, and the full-width blank.
std::vector<char32_t> charactersOf(const std::vector<std::string>& texts) {
    std::vector<char32_t> out{U'\u3000'};
    for (const std::string& text : texts) {
        for (char32_t ch : cp932Characters(text).value_or(std::u32string())) out.push_back(ch);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::string sjis(const char* utf8) {
    return utf8ToCp932(utf8).value_or("");
}

// An atlas kept in memory: its font files by number.
struct MemoryAtlas {
    GlyphAtlasFiles files;
    std::unique_ptr<AtlasGlyphs> open() {
        std::string error;
        auto atlas = AtlasGlyphs::open(
            files.index,
            [this](int n) -> std::optional<std::string> {
                if (n < 0 || n >= static_cast<int>(files.fonts.size())) return std::nullopt;
                return files.fonts[static_cast<std::size_t>(n)];
            },
            error);
        EXPECT_TRUE(atlas) << error;
        return atlas;
    }
};

Bitmap drawn(TextRenderer& renderer, const std::string& text, const FontSpec& font) {
    Bitmap bitmap(640, 48);
    renderer.drawText(bitmap, 3, 5, text, font, 0xFFFFFF);
    return bitmap;
}

bool samePixels(const Bitmap& a, const Bitmap& b) {
    for (int y = 0; y < a.height(); ++y) {
        if (!std::equal(a.row(y), a.row(y) + a.stride(), b.row(y))) return false;
    }
    return true;
}

TEST(GlyphAtlas, GivenAnAtlasOfTheInstalledFonts_WhenDrawingText_ThenItDrawsTheSamePixels) {
    // Kana, kanji, ASCII, half-width katakana, ∑ (no IPA glyph: a fallback face draws it),
    // an unmappable byte and a broken pair.
    const std::string marks = "\x87\x94" + sjis("▼〓◆");
    std::vector<std::string> texts = {sjis("雪の夜の、小さなホテルの物語。「ようこそ」"),
                                      sjis("ABC xyz 123 ｺﾙｳﾞｧﾝ"), marks};
    const std::vector<FontSpec> fonts = {kMessageFont, kLargeMincho, kPlateFont};
    auto system = systemGlyphs();
    MemoryAtlas atlas{makeGlyphAtlas(*system, fonts, charactersOf(texts))};
    texts.push_back(marks + "\x80" + "\x81\x20" + marks);
    TextRenderer fromSystem(std::move(system));
    TextRenderer fromAtlas(atlas.open());

    for (const FontSpec& font : fonts) {
        EXPECT_EQ(fromAtlas.ascent(font), fromSystem.ascent(font)) << font.face;
        for (const std::string& text : texts) {
            EXPECT_EQ(fromAtlas.textWidth(text, font), fromSystem.textWidth(text, font));
            EXPECT_TRUE(samePixels(drawn(fromAtlas, text, font), drawn(fromSystem, text, font)))
                << font.face << " " << font.height << ": " << cp932ToUtf8(text);
        }
    }
    EXPECT_TRUE(fromAtlas.takeWarnings().empty());
}

TEST(GlyphAtlas, GivenTwoNamesOfOneFace_WhenMade_ThenTheyShareOneFontFile) {
    auto system = systemGlyphs();
    const auto files = makeGlyphAtlas(
        *system, {{"ＭＳＰゴシック", 16, false}, {"ＭＳ Ｐゴシック", 16, false}, kLargeMincho},
        charactersOf({sjis("あ")}));
    EXPECT_EQ(files.fonts.size(), 2u);
}

TEST(GlyphAtlas, GivenAFontItLacksOrCannotRead_WhenDrawing_ThenNothingIsDrawnAndItIsToldOnce) {
    auto system = systemGlyphs();
    const std::string text = sjis("あい");
    MemoryAtlas atlas{makeGlyphAtlas(*system, {kMessageFont, kLargeMincho}, charactersOf({text}))};
    // The second font's file is cut short.
    atlas.files.fonts[1].resize(atlas.files.fonts[1].size() / 2);
    TextRenderer renderer(atlas.open());

    for (const FontSpec& font : {kPlateFont, kLargeMincho}) {
        Bitmap bitmap = drawn(renderer, text, font);
        EXPECT_TRUE(samePixels(bitmap, Bitmap(640, 48))) << font.face;
        // A blank as wide as the cell for each character, so the text after it keeps its place.
        EXPECT_EQ(renderer.textWidth(text, font), 2 * font.height);
        drawn(renderer, text, font);
    }
    const auto warnings = renderer.takeWarnings();
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("has no font \"ＭＳ Ｐゴシック\" at 24 pixels"), std::string::npos);
    EXPECT_NE(warnings[1].find("\"ＭＳ 明朝\" at 30 pixels cannot be read"), std::string::npos);
}

TEST(GlyphAtlas, GivenBytesThatAreNoAtlas_WhenOpened_ThenItSaysSo) {
    std::string error;
    EXPECT_EQ(AtlasGlyphs::open("PNG\r\n", {}, error), nullptr);
    EXPECT_EQ(error, "not a glyph atlas index");
    auto system = systemGlyphs();
    std::string index = makeGlyphAtlas(*system, {kMessageFont}, {U'a'}).index;
    index.resize(index.size() - 3);
    EXPECT_EQ(AtlasGlyphs::open(index, {}, error), nullptr);
    EXPECT_EQ(error, "the glyph atlas index is cut short");
}

}  // namespace
}  // namespace corvan
