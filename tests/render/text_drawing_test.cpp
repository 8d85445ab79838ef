// Message text as pixels: where each character and its shadow land in the message frame, their
// colours, large text, the heart icon, and when the frame's contents reach the screen.
//
// The expected frame is painted here from the documented placement rules, with the glyph shapes
// taken from the text drawer itself: these tests check placement, order and colour, not how a
// font renders.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/cp932.h"
#include "render/font.h"
#include "render/raster.h"
#include "render/resources.h"
#include "settings/setting_names.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

// Frame pixels are screen pixels offset by (32, 376) in the fixed mode.
constexpr int kFrameX = 32;
constexpr int kFrameY = 376;
constexpr int kFrameW = 576;
constexpr int kFrameH = 96;

constexpr std::uint32_t kWhite = rgb(255, 255, 255);
constexpr std::uint32_t kBlack = rgb(0, 0, 0);
constexpr std::uint32_t kRed = rgb(255, 0, 0);

struct Offset {
    int x;
    int y;
};

TextRenderer& glyphRenderer() {
    static TextRenderer renderer;
    return renderer;
}

// The set pixels of one character (given in UTF-8) drawn with its cell's top-left at (0, 0).
std::vector<Offset> glyphPixels(const FontSpec& font, const std::string& utf8) {
    const std::string bytes = utf8ToCp932(utf8).value_or("");
    constexpr int kMargin = 16;
    Bitmap canvas(96, 96);
    glyphRenderer().drawCharacter(canvas, kMargin, kMargin,
                                  reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  static_cast<int>(bytes.size()), font, kWhite);
    std::vector<Offset> pixels;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.pixel(x, y) == kWhite) pixels.push_back({x - kMargin, y - kMargin});
        }
    }
    return pixels;
}

void putPixel(Bitmap& b, int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= b.width() || y >= b.height()) return;
    std::uint8_t* p = b.row(y) + x * 3;
    p[0] = static_cast<std::uint8_t>(colour >> 16);
    p[1] = static_cast<std::uint8_t>(colour >> 8);
    p[2] = static_cast<std::uint8_t>(colour);
}

Bitmap crop(const Bitmap& src, int left, int top, int width, int height) {
    Bitmap out(width, height);
    blit(out, 0, 0, width, height, src, left, top);
    return out;
}

Bitmap frameOnScreen(const Game& g) {
    return crop(g.screen, kFrameX, kFrameY, kFrameW, kFrameH);
}

// The message frame as it should look: a starting picture, then characters and hearts painted
// by the placement rules (x = column x 8, y = line x 20).
class ExpectedFrame {
public:
    ExpectedFrame(const Bitmap& start, FontSpec font) : frame_(start), font_(std::move(font)) {}

    // Normal text: black at (x + 14, y + 12), then the colour at (x + 12, y + 10).
    void character(const std::string& utf8, int column, int line, std::uint32_t colour) {
        font_.height = 16;
        paint(utf8, column * 8 + 14, line * 20 + 12, kBlack);
        paint(utf8, column * 8 + 12, line * 20 + 10, colour);
    }
    // Large text: black at (x + 14, y), then the colour at (x + 12, y - 2).
    void largeCharacter(const std::string& utf8, int column, int line, std::uint32_t colour) {
        font_.height = 30;
        paint(utf8, column * 8 + 14, line * 20, kBlack);
        paint(utf8, column * 8 + 12, line * 20 - 2, colour);
    }
    // The 15x15 icon: frame AND inverted icon at (x + 14, y + 12), then frame OR icon at
    // (x + 12, y + 10).
    void heart(const Bitmap& icon, int column, int line) {
        const int x = column * 8;
        const int y = line * 20;
        for (int j = 0; j < 15; ++j) {
            for (int i = 0; i < 15; ++i) {
                const std::uint32_t cut = frame_.pixel(x + 14 + i, y + 12 + j) & ~icon.pixel(i, j);
                putPixel(frame_, x + 14 + i, y + 12 + j, cut & 0xFFFFFF);
            }
        }
        for (int j = 0; j < 15; ++j) {
            for (int i = 0; i < 15; ++i) {
                const std::uint32_t lit = frame_.pixel(x + 12 + i, y + 10 + j) | icon.pixel(i, j);
                putPixel(frame_, x + 12 + i, y + 10 + j, lit);
            }
        }
    }
    const Bitmap& bitmap() const { return frame_; }

private:
    void paint(const std::string& utf8, int left, int top, std::uint32_t colour) {
        const auto pixels = glyphPixels(font_, utf8);
        EXPECT_FALSE(pixels.empty()) << "no glyph for " << utf8;
        for (const Offset& o : pixels) putPixel(frame_, left + o.x, top + o.y, colour);
    }

    Bitmap frame_;
    FontSpec font_;
};

// The number of differing pixels; the first one is reported.
int countMismatches(const Bitmap& actual, const Bitmap& expected) {
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        ADD_FAILURE() << "size " << actual.width() << "x" << actual.height() << " instead of "
                      << expected.width() << "x" << expected.height();
        return -1;
    }
    int bad = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y) && bad++ == 0) {
                ADD_FAILURE() << "first mismatch at frame (" << x << ", " << y << "): 0x"
                              << std::hex << actual.pixel(x, y) << " instead of 0x"
                              << expected.pixel(x, y);
            }
        }
    }
    return bad;
}

FontSpec normalFont(const Game& g) {
    FontSpec f = g.frameFont;
    f.height = 16;
    return f;
}

// A grey picture, so that neither black nor any text colour occurs in the backdrop.
const std::string kPicture = "*gra S888,0\n";

// Starts the game at the fast text speed (a whole line per step) and runs its first step, which
// shows the picture and opens an empty frame with "▽".
Game& startWithEmptyFrame(TestGame& t) {
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(g.frameOpen);
    return g;
}

// --- Placement and colour ------------------------------------------------------------------

TEST(TextPixels,
     GivenNormalText_WhenALineShows_ThenEachShadowIsTwoPixelsRightAndDownOfItsCharacter) {
    TestGame t({chunk("main", kPicture + "▽\n\n   Aあ\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();  // the empty line moves to row 1; three blanks move to column 3

    expected.character("A", 3, 1, kWhite);
    expected.character("あ", 4, 1, kWhite);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
    EXPECT_EQ(countMismatches(g.layers.textFrame, expected.bitmap()), 0);
}

TEST(TextPixels, GivenLargeText_WhenALineShows_ThenCharactersSitAtTheRowTopWithTheirShadows) {
    TestGame t({chunk("main", kPicture + "▽\n\n[4]Aあ\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();

    expected.largeCharacter("A", 0, 1, kWhite);
    expected.largeCharacter("あ", 2, 1, kWhite);  // a one-byte character takes two columns
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
}

TEST(TextPixels, GivenAColourTagInTheLine_WhenItShows_ThenOnlyLaterCharactersTakeTheColour) {
    TestGame t({chunk("main", kPicture + "▽\nA[col 2]BC\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();

    expected.character("A", 0, 0, kWhite);
    expected.character("B", 1, 0, kRed);
    expected.character("C", 2, 0, kRed);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
}

TEST(TextPixels,
     GivenEachColourIndex_WhenCharactersShow_ThenTheyTakeTheTableColoursOverBlackShadows) {
    TestGame t(
        {chunk("main", kPicture + "▽\n[col 1]A[col 2]A[col 3]A[col 4]A[col 5]A[col 6]A[col 7]A"
                                  "[col 0]A\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();

    const std::uint32_t table[] = {rgb(0, 128, 0),   rgb(255, 0, 0),    rgb(128, 0, 128),
                                   rgb(255, 255, 0), rgb(0, 0, 255),    rgb(0, 255, 255),
                                   rgb(0, 0, 0),     rgb(255, 255, 255)};
    for (int i = 0; i < 8; ++i) expected.character("A", i, 0, table[i]);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
}

// An index outside the table keeps the colour in use: a deliberate choice, since no colour is
// defined for it.
TEST(TextPixels, GivenAColourIndexOutsideTheTable_WhenCharactersShow_ThenThePreviousColourStays) {
    TestGame t({chunk("main", kPicture + "▽\n[col 2]A[col 8]B[col -1]C\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();

    expected.character("A", 0, 0, kRed);
    expected.character("B", 1, 0, kRed);
    expected.character("C", 2, 0, kRed);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
}

// --- The heart -----------------------------------------------------------------------------

TEST(TextPixels,
     GivenAHeart_WhenTheLineShows_ThenItsShapeIsCutBlackAndPaintedWhiteTwoPixelsUpLeft) {
    TestGame t({chunk("main", kPicture + "▽\nab◆c\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();  // the heart ends a step
    t.step();

    expected.character("a", 0, 0, kWhite);
    expected.character("b", 1, 0, kWhite);
    expected.heart(loadResource("HEART"), 2, 0);
    expected.character("c", 4, 0, kWhite);  // the heart takes two columns
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
}

TEST(TextPixels, GivenAnAllWhiteIcon_WhenAHeartShows_ThenOnly15x15PixelsAreCutAndPainted) {
    TestGame t({chunk("main", kPicture + "▽\n\n◆\n")});
    Game& g = startWithEmptyFrame(t);
    const Bitmap before = frameOnScreen(g);
    g.layers.heart = solidBitmap(16, 16, kWhite);

    t.step();
    t.step();

    // Row 1: the black square is (14, 32)-(28, 46), the white one (12, 30)-(26, 44).
    const Bitmap frame = frameOnScreen(g);
    EXPECT_EQ(frame.pixel(12, 30), kWhite);
    EXPECT_EQ(frame.pixel(26, 44), kWhite);
    EXPECT_EQ(frame.pixel(27, 44), kBlack);
    EXPECT_EQ(frame.pixel(28, 46), kBlack);
    EXPECT_EQ(frame.pixel(29, 46), before.pixel(29, 46));
    EXPECT_EQ(frame.pixel(28, 47), before.pixel(28, 47));
    EXPECT_EQ(frame.pixel(27, 30), before.pixel(27, 30));
    EXPECT_EQ(frame.pixel(12, 29), before.pixel(12, 29));
    EXPECT_EQ(frame.pixel(11, 30), before.pixel(11, 30));
    ExpectedFrame expected(before, normalFont(g));
    expected.heart(solidBitmap(16, 16, kWhite), 0, 1);
    EXPECT_EQ(countMismatches(frame, expected.bitmap()), 0);
}

// --- When the frame reaches the screen -----------------------------------------------------

TEST(TextPixels, GivenUnpacedText_WhenAPageWaitEndsTheLine_ThenItsCharactersReachTheScreenFirst) {
    TestGame t({chunk("main", kPicture + "▽\nAB▼\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();

    ASSERT_EQ(g.waitKind, WaitKind::Page);
    expected.character("A", 0, 0, kWhite);
    expected.character("B", 1, 0, kWhite);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
}

TEST(TextPixels, GivenUnpacedTextBeforeAPlainWait_WhenTheNextLineEnds_ThenAllOfItReachesTheScreen) {
    TestGame t({chunk("main", kPicture + "▽\nAB〓\nC\n")});
    Game& g = startWithEmptyFrame(t);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));
    t.step();
    ASSERT_EQ(g.waitKind, WaitKind::Plain);
    expected.character("A", 0, 0, kWhite);
    expected.character("B", 1, 0, kWhite);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);

    t.player().mouseDown(MouseButton::Left, 320, 200);
    t.step();

    expected.character("C", 2, 0, kWhite);  // the wait made no line break
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
}

TEST(TextPixels, GivenPacedText_WhenEachStepRuns_ThenEachCharacterReachesTheScreenAtOnce) {
    TestGame t({chunk("main", kPicture + "▽\nAB▼\n")});
    Game& g = t.start();  // the normal speed: one character per step
    t.step();
    ASSERT_TRUE(g.frameOpen);
    ExpectedFrame expected(frameOnScreen(g), normalFont(g));

    t.step();
    expected.character("A", 0, 0, kWhite);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);

    t.step();
    expected.character("B", 1, 0, kWhite);
    EXPECT_EQ(countMismatches(frameOnScreen(g), expected.bitmap()), 0);
    t.step();
    EXPECT_EQ(g.waitKind, WaitKind::Page);
}

TEST(TextPixels,
     GivenTheMovableMode_WhenALineShows_ThenItIsDrawnInTheMessageWindowNotOnThePicture) {
    TestGame t({chunk("main", kPicture + "▽\nA\n")});
    t.host().writeSetting(setting::kTextWind, "1");
    Game& g = startWithEmptyFrame(t);
    ASSERT_TRUE(g.movableFrame);
    ASSERT_TRUE(t.host().textWindowShown());
    ExpectedFrame expected(loadResource("TEXT_BG"), normalFont(g));

    t.step();

    expected.character("A", 0, 0, kWhite);
    EXPECT_EQ(countMismatches(t.host().textWindow(), expected.bitmap()), 0);
    EXPECT_EQ(countMismatches(g.screen, solidBitmap(640, 480, rgb(128, 128, 128))), 0);
}

}  // namespace
}  // namespace corvan::test
