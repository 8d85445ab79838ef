#include "render/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#include "engine/cp932.h"

namespace corvan {
namespace {

const char* const kGothic = "ＭＳ ゴシック";
const char* const kPGothic = "ＭＳＰゴシック";
const char* const kPGothicSpaced = "ＭＳ Ｐゴシック";
const char* const kMincho = "ＭＳ 明朝";
constexpr std::uint32_t kWhite = 0xFFFFFF;

std::string sjis(const char* utf8) {
    auto bytes = utf8ToCp932(utf8);
    EXPECT_TRUE(bytes.has_value()) << utf8;
    return bytes.value_or("");
}

// The smallest rectangle holding every pixel that differs from `background`; right and bottom
// inclusive. `empty` when no pixel differs.
struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool empty() const { return right < left; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Box inkBox(const Bitmap& bitmap, std::uint32_t background = 0) {
    Box box;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) == background) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

int inkCount(const Bitmap& bitmap, std::uint32_t background = 0) {
    int count = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) count += bitmap.pixel(x, y) != background;
    }
    return count;
}

bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y) {
        if (!std::equal(a.row(y), a.row(y) + a.stride(), b.row(y))) return false;
    }
    return true;
}

void fill(Bitmap& bitmap, std::uint32_t colour) {
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            std::uint8_t* p = bitmap.row(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(colour >> 16);
            p[1] = static_cast<std::uint8_t>(colour >> 8);
            p[2] = static_cast<std::uint8_t>(colour);
        }
    }
}

// One renderer for the whole suite: fontconfig's set-up is the slow part.
class TextRendererTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { renderer_ = std::make_unique<TextRenderer>(); }
    static void TearDownTestSuite() { renderer_.reset(); }

    static TextRenderer& renderer() { return *renderer_; }

    // The text drawn alone at (x, y) on a fresh black bitmap.
    static Bitmap drawn(const std::string& cp932, const FontSpec& font, int x = 10, int y = 10,
                        int width = 120, int height = 80) {
        Bitmap bitmap(width, height);
        renderer().drawText(bitmap, x, y, cp932, font, kWhite);
        return bitmap;
    }

private:
    static inline std::unique_ptr<TextRenderer> renderer_;
};

TEST_F(TextRendererTest, GivenTheInstalledIpaFonts_WhenDrawing_ThenNoWarningIsGiven) {
    Bitmap bitmap(64, 64);
    for (const char* face : {kGothic, kPGothic, kPGothicSpaced, kMincho}) {
        renderer().drawText(bitmap, 0, 0, sjis("あA"), {face, 16, false}, kWhite);
    }
    EXPECT_EQ(renderer().takeWarnings(), std::vector<std::string>{});
}

TEST_F(TextRendererTest, GivenGothic_WhenMeasuring_ThenHalfWidthIs8AndFullWidth16AtHeight16) {
    const FontSpec gothic{kGothic, 16, false};
    EXPECT_EQ(renderer().textWidth("A", gothic), 8);
    EXPECT_EQ(renderer().textWidth("i", gothic), 8);
    EXPECT_EQ(renderer().textWidth(sjis("あ"), gothic), 16);
    EXPECT_EQ(renderer().textWidth(sjis("漢字"), gothic), 32);
    EXPECT_EQ(renderer().textWidth(sjis("Aあ1"), gothic), 32);
    // Mincho is fixed pitch as well, and the cells grow with the height.
    EXPECT_EQ(renderer().textWidth(sjis("Aあ"), {kMincho, 16, false}), 24);
    EXPECT_EQ(renderer().textWidth(sjis("Aあ"), {kGothic, 30, false}), 45);
}

TEST_F(TextRendererTest, GivenPGothic_WhenMeasuring_ThenLettersAreProportional) {
    const FontSpec proportional{kPGothic, 16, false};
    EXPECT_LT(renderer().textWidth("i", proportional), renderer().textWidth("W", proportional));
    EXPECT_EQ(renderer().textWidth("iiii", {kGothic, 16, false}), 32);
    EXPECT_LT(renderer().textWidth("iiii", proportional), 32);
    // Both spellings of the proportional face name are the same face.
    const FontSpec spaced{kPGothicSpaced, 16, false};
    EXPECT_EQ(renderer().textWidth(sjis("移動 iW"), spaced),
              renderer().textWidth(sjis("移動 iW"), proportional));
    EXPECT_TRUE(samePixels(drawn(sjis("移動"), spaced), drawn(sjis("移動"), proportional)));
}

TEST_F(TextRendererTest, GivenACellHeight_WhenAskingTheAscent_ThenItIs14Of16And26Of30) {
    EXPECT_EQ(renderer().ascent({kGothic, 16, false}), 14);
    EXPECT_EQ(renderer().ascent({kGothic, 30, false}), 26);
    EXPECT_EQ(renderer().ascent({kMincho, 30, true}), 26);
}

TEST_F(TextRendererTest, GivenFixedPitchFaces_WhenDrawingACharacter_ThenItStaysInsideItsCell) {
    const char* samples[] = {"A",  "g",  "j",  "W",  "_",  "|",  "(",  "あ",
                             "漢", "「", "」", "ぎ", "ー", "Ｗ", "ｇ", "ｱ"};
    for (const char* face : {kGothic, kMincho}) {
        for (int height : {16, 24, 30}) {
            for (bool bold : {false, true}) {
                for (const char* sample : samples) {
                    SCOPED_TRACE(std::string(face) + " " + std::to_string(height) +
                                 (bold ? " bold " : " ") + sample);
                    Bitmap bitmap(100, 80);
                    const int advance = renderer().drawText(bitmap, 20, 30, sjis(sample),
                                                            {face, height, bold}, kWhite);
                    const Box box = inkBox(bitmap);
                    ASSERT_FALSE(box.empty());
                    EXPECT_GE(box.left, 20);
                    EXPECT_LT(box.right, 20 + advance);
                    EXPECT_GE(box.top, 30);
                    EXPECT_LT(box.bottom, 30 + height);
                }
            }
        }
    }
}

TEST_F(TextRendererTest, GivenAKana_WhenDrawn_ThenItReachesNearTheCellTopAndTheBaseline) {
    for (int height : {16, 30}) {
        const FontSpec font{kGothic, height, false};
        const int baseline = 10 + renderer().ascent(font);
        const Box kana = inkBox(drawn(sjis("あ"), font));
        EXPECT_LE(kana.top, 10 + 3) << height;
        EXPECT_GE(kana.bottom, baseline - 2) << height;
        EXPECT_LE(kana.bottom, baseline) << height;  // round strokes may overshoot by one
        // A descender goes below the baseline; a capital does not.
        EXPECT_GE(inkBox(drawn("g", font)).bottom, baseline) << height;
        EXPECT_LT(inkBox(drawn("A", font)).bottom, baseline) << height;
    }
}

TEST_F(TextRendererTest, GivenHeight30_WhenDrawing_ThenGlyphsAreTallerThanAtHeight16) {
    const Box small = inkBox(drawn(sjis("あ"), {kGothic, 16, false}));
    const Box large = inkBox(drawn(sjis("あ"), {kGothic, 30, false}));
    EXPECT_GE(large.height(), small.height() * 3 / 2);
    EXPECT_GE(large.width(), small.width() * 3 / 2);
}

TEST_F(TextRendererTest, GivenBold_WhenDrawing_ThenStrokesAreOnePixelWiderAndTheAdvanceOneMore) {
    for (const char* sample : {"A", "あ", "漢", "l"}) {
        SCOPED_TRACE(sample);
        const FontSpec plainFont{kGothic, 16, false};
        const FontSpec boldFont{kGothic, 16, true};
        const Bitmap plain = drawn(sjis(sample), plainFont);
        const Bitmap bold = drawn(sjis(sample), boldFont);
        const Box plainBox = inkBox(plain);
        const Box boldBox = inkBox(bold);
        EXPECT_EQ(boldBox.left, plainBox.left);
        EXPECT_EQ(boldBox.width(), plainBox.width() + 1);
        EXPECT_EQ(boldBox.top, plainBox.top);
        EXPECT_EQ(boldBox.bottom, plainBox.bottom);
        EXPECT_EQ(renderer().textWidth(sjis(sample), boldFont),
                  renderer().textWidth(sjis(sample), plainFont) + 1);
        // Every plain pixel stays set, and each one's right neighbour is set too.
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x + 1 < plain.width(); ++x) {
                if (plain.pixel(x, y) == 0) continue;
                EXPECT_EQ(bold.pixel(x, y), kWhite) << x << "," << y;
                EXPECT_EQ(bold.pixel(x + 1, y), kWhite) << x + 1 << "," << y;
            }
        }
    }
}

TEST_F(TextRendererTest, GivenABackground_WhenDrawing_ThenOnlyGlyphPixelsTakeTheColour) {
    Bitmap bitmap(80, 40);
    // A background where every pixel differs, so a touched pixel cannot hide.
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            std::uint8_t* p = bitmap.row(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = 0x80;
        }
    }
    const Bitmap before = bitmap;
    renderer().drawText(bitmap, 4, 4, sjis("漢字Ag"), {kGothic, 16, true}, 0x123456);
    int written = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) == before.pixel(x, y)) continue;
            ++written;
            // 0xBBGGRR: blue 0x12, green 0x34, red 0x56, stored blue first.
            const std::uint8_t* p = bitmap.row(y) + x * 3;
            ASSERT_EQ(p[0], 0x12) << x << "," << y;
            ASSERT_EQ(p[1], 0x34) << x << "," << y;
            ASSERT_EQ(p[2], 0x56) << x << "," << y;
        }
    }
    EXPECT_GT(written, 40);
    // Not a filled box: far fewer pixels than the cells hold.
    EXPECT_LT(written, (16 + 16 + 8 + 8 + 4) * 16 / 2);
}

TEST_F(TextRendererTest, GivenPositionsOverTheEdges_WhenDrawing_ThenPixelsAreClippedExactly) {
    const FontSpec font{kGothic, 30, true};
    const std::string text = sjis("漢あ");
    // The same text on a large bitmap, offset by 40: the small one must show the window of it.
    for (auto [x, y] : {std::pair{-7, -9}, std::pair{-40, 3}, std::pair{5, -20}, std::pair{12, 6},
                        std::pair{-1, 14}}) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        Bitmap small(24, 20);
        Bitmap large(120, 120);
        const int advance = renderer().drawText(small, x, y, text, font, kWhite);
        EXPECT_EQ(advance, renderer().drawText(large, x + 40, y + 40, text, font, kWhite));
        for (int row = 0; row < small.height(); ++row) {
            for (int column = 0; column < small.width(); ++column) {
                ASSERT_EQ(small.pixel(column, row), large.pixel(column + 40, row + 40))
                    << column << "," << row;
            }
        }
    }
    // Far outside, or onto an empty bitmap: nothing is written and nothing breaks.
    Bitmap bitmap(16, 16);
    for (auto [x, y] : {std::pair{100000, 0}, std::pair{-100000, 0}, std::pair{0, 100000},
                        std::pair{0, -100000}, std::pair{16, 16}, std::pair{-60, -30}}) {
        renderer().drawText(bitmap, x, y, text, font, kWhite);
    }
    EXPECT_EQ(inkCount(bitmap), 0);
    Bitmap none;
    EXPECT_EQ(renderer().drawText(none, 0, 0, text, font, kWhite), 62);
}

TEST_F(TextRendererTest, GivenUnmappableBytes_WhenDrawing_ThenTheyDrawNothingAndTextGoesOn) {
    const FontSpec font{kGothic, 16, false};
    for (std::uint8_t lead : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
        const std::uint8_t pair[] = {lead, 0x41};
        Bitmap bitmap(40, 30);
        EXPECT_EQ(renderer().drawCharacter(bitmap, 4, 4, pair, 2, font, kWhite), 16) << +lead;
        EXPECT_EQ(inkCount(bitmap), 0) << +lead;
    }
    // A lead byte with a trail byte that makes no character.
    const std::uint8_t broken[] = {0x88, 0x20};
    Bitmap bitmap(40, 30);
    EXPECT_EQ(renderer().drawCharacter(bitmap, 4, 4, broken, 2, font, kWhite), 16);
    EXPECT_EQ(inkCount(bitmap), 0);

    // In a string the bad pair takes a blank full-width cell and the rest is drawn after it.
    const std::string text = "A" + std::string("\x80\x41\xFF\xFF") + sjis("あ");
    Bitmap line(80, 30);
    EXPECT_EQ(renderer().drawText(line, 0, 0, text, font, kWhite), 8 + 16 + 16 + 16);
    Bitmap expected(80, 30);
    renderer().drawText(expected, 0, 0, "A", font, kWhite);
    renderer().drawText(expected, 40, 0, sjis("あ"), font, kWhite);
    EXPECT_TRUE(samePixels(line, expected));
    EXPECT_EQ(renderer().textWidth(text, font), 56);
}

TEST_F(TextRendererTest, GivenBytesOutsideTheAsciiRange_WhenDrawingText_ThenEachLeadsAPair) {
    const FontSpec font{kGothic, 16, false};
    // Two half-width katakana form one two-byte character: both are drawn, 8 pixels each.
    const std::string katakana = sjis("ｱｲ");
    ASSERT_EQ(katakana.size(), 2u);
    EXPECT_EQ(renderer().textWidth(katakana, font), 16);
    Bitmap pair = drawn(katakana, font);
    Bitmap separate(120, 80);
    renderer().drawText(separate, 10, 10, sjis("ｱ"), font, kWhite);
    renderer().drawText(separate, 18, 10, sjis("ｲ"), font, kWhite);
    EXPECT_TRUE(samePixels(pair, separate));
    // So a lone katakana byte swallows the ASCII letter after it, as the game's drawer does.
    EXPECT_EQ(renderer().textWidth(sjis("ｱ") + "B", font), 16);
    // A lead byte at the very end draws nothing.
    Bitmap last = drawn("A\x82", font);
    EXPECT_TRUE(samePixels(last, drawn("A", font)));
}

TEST_F(TextRendererTest, GivenACharacterTheIpaFontsLack_WhenDrawing_ThenAFallbackFaceDrawsIt) {
    const std::uint8_t sigma[] = {0x87, 0x94};  // ∑
    for (const char* face : {kGothic, kMincho, kPGothic}) {
        Bitmap bitmap(60, 40);
        const int advance =
            renderer().drawCharacter(bitmap, 10, 10, sigma, 2, {face, 16, false}, kWhite);
        const Box box = inkBox(bitmap);
        ASSERT_FALSE(box.empty()) << face;
        EXPECT_GT(advance, 0) << face;
        EXPECT_GE(box.left, 10) << face;
        EXPECT_LT(box.right, 10 + advance) << face;
        EXPECT_GT(box.height(), 8) << face;  // a real sigma, not a dot
    }
}

TEST_F(TextRendererTest,
       GivenFacesHeightsAndStyles_WhenDrawingTheSameCharacter_ThenEachKeepsItsOwn) {
    const std::string kana = sjis("あ");
    const Bitmap gothic = drawn(kana, {kGothic, 16, false});
    const Bitmap gothicBold = drawn(kana, {kGothic, 16, true});
    const Bitmap gothicLarge = drawn(kana, {kGothic, 30, false});
    const Bitmap mincho = drawn(kana, {kMincho, 16, false});
    EXPECT_FALSE(samePixels(gothic, gothicBold));
    EXPECT_FALSE(samePixels(gothic, gothicLarge));
    EXPECT_FALSE(samePixels(gothic, mincho));
    // Drawn again after the others, each is exactly what it was.
    EXPECT_TRUE(samePixels(drawn(kana, {kGothic, 16, false}), gothic));
    EXPECT_TRUE(samePixels(drawn(kana, {kMincho, 16, false}), mincho));
    // Different characters with the same bytes in another order do not share a glyph.
    const std::uint8_t ka[] = {0x82, 0xA9};
    const std::uint8_t swapped[] = {0xA9, 0x82};
    Bitmap first(40, 30), second(40, 30);
    renderer().drawCharacter(first, 0, 0, ka, 2, {kGothic, 16, false}, kWhite);
    renderer().drawCharacter(second, 0, 0, swapped, 2, {kGothic, 16, false}, kWhite);
    EXPECT_FALSE(samePixels(first, second));
}

TEST_F(TextRendererTest, GivenOneCharacter_WhenDrawn1000Times_ThenEveryDrawingIsTheSame) {
    const FontSpec font{kGothic, 16, true};
    const std::string kanji = sjis("漢");
    const Bitmap once = drawn(kanji, font, 0, 0, 20, 20);
    Bitmap again(20, 20);
    for (int i = 0; i < 1000; ++i) {
        fill(again, 0);
        ASSERT_EQ(renderer().drawText(again, 0, 0, kanji, font, kWhite), 17);
    }
    EXPECT_TRUE(samePixels(again, once));
}

TEST_F(TextRendererTest, GivenAString_WhenDrawn_ThenItIsItsCharactersAdvanceByAdvance) {
    const FontSpec font{kPGothic, 16, true};
    const std::string text = sjis("ロード 1");
    Bitmap whole(120, 30);
    const int width = renderer().drawText(whole, 2, 3, text, font, kWhite);
    EXPECT_EQ(width, renderer().textWidth(text, font));
    Bitmap pieces(120, 30);
    int pen = 2;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const int count = lead >= 0x20 && lead <= 0x7E ? 1 : 2;
        pen += renderer().drawCharacter(
            pieces, pen, 3, reinterpret_cast<const std::uint8_t*>(&text[i]), count, font, kWhite);
        i += static_cast<std::size_t>(count);
    }
    EXPECT_EQ(pen - 2, width);
    EXPECT_TRUE(samePixels(whole, pieces));
}

TEST(TextRendererFallback,
     GivenAJapaneseFamilyThatIsNotInstalled_WhenDrawing_ThenOneWarningAndText) {
    TextRenderer renderer(std::vector<FontAlias>{{"ＭＳ ゴシック", "Corvan No Such Family"}});
    const FontSpec font{"ＭＳ ゴシック", 16, false};
    Bitmap bitmap(80, 30);
    renderer.drawText(bitmap, 0, 0, sjis("あいう"), font, kWhite);
    EXPECT_GT(inkCount(bitmap), 20);  // some installed face still draws the kana
    const auto warnings = renderer.takeWarnings();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("fonts-ipafont"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("Corvan No Such Family"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("ＭＳ ゴシック"), std::string::npos) << warnings[0];
    // Reported once: more text in the same face and size changes say nothing new.
    renderer.drawText(bitmap, 0, 0, sjis("えお"), font, kWhite);
    renderer.drawText(bitmap, 0, 0, sjis("か"), {"ＭＳ ゴシック", 30, true}, kWhite);
    EXPECT_TRUE(renderer.takeWarnings().empty());
}

TEST(TextRendererFallback, GivenANameWithoutAlias_WhenDrawing_ThenAJapaneseFaceDrawsIt) {
    TextRenderer renderer;
    Bitmap bitmap(80, 30);
    const int width =
        renderer.drawText(bitmap, 0, 0, sjis("休憩室"), {"Some Other Face", 24, false}, kWhite);
    EXPECT_GT(width, 40);
    EXPECT_GT(inkCount(bitmap), 40);
    EXPECT_TRUE(renderer.takeWarnings().empty());
}

TEST(TextRendererFallback, GivenNoUsableHeight_WhenDrawing_ThenNothingIsDrawn) {
    TextRenderer renderer;
    Bitmap bitmap(40, 40);
    EXPECT_EQ(renderer.drawText(bitmap, 0, 0, "AB", {"ＭＳ ゴシック", 0, false}, kWhite), 0);
    EXPECT_EQ(renderer.drawText(bitmap, 0, 0, "AB", {"ＭＳ ゴシック", -16, false}, kWhite), 0);
    const std::uint8_t a = 'A';
    EXPECT_EQ(renderer.drawCharacter(bitmap, 0, 0, &a, 0, {"ＭＳ ゴシック", 16, false}, kWhite), 0);
    EXPECT_EQ(inkCount(bitmap), 0);
}

}  // namespace
}  // namespace corvan
