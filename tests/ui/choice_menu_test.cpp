// The choice menu of `select`: rows of silver text on the row background, the row under the
// pointer in white, the hover band with its exclusive edges, and the pick that runs the chosen
// CASE branch and goes on after "end". Counts outside 1 to 9 never leave the story stuck.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/resources.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kBackground = 0x204060;  // the solid picture S246
constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kRowX = 100;

const char* const kThreeChoices =
    "*gra S246,0\n*select 3\none\ntwo\nthree\n:CASE1\nC1\n:CASE2\nC2\n:CASE3\nC3\n:end\nafter\n";

// The middle of choice row `row` (1-based).
int rowY(int row) {
    return 16 + 36 * (row - 1) + 18;
}

const Bitmap& rowBackground() {
    static const Bitmap selectBg = loadResource("SELECTBG");
    return selectBg;
}

// What a row shows beyond its background: `text` counts pixels in the text colour at or after
// the text's origin (10, 10) inside the row; `stray` counts every other changed pixel.
struct RowInk {
    int text = 0;
    int stray = 0;
};

RowInk rowInk(const Bitmap& screen, int row, std::uint32_t textColour) {
    RowInk ink;
    const Bitmap& bg = rowBackground();
    const int top = 16 + 36 * (row - 1);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 276; ++x) {
            const std::uint32_t c = screen.pixel(16 + x, top + y);
            if (c == bg.pixel(x, y)) continue;
            if (c == textColour && x >= 10 && y >= 10) {
                ++ink.text;
            } else {
                ++ink.stray;
            }
        }
    }
    return ink;
}

bool allBackground(const Bitmap& screen, Rect r) {
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (screen.pixel(x, y) != kBackground) return false;
        }
    }
    return true;
}

// Two rows show the same pixels.
bool sameRows(const Bitmap& screen, int rowA, int rowB) {
    for (int y = 0; y < 36; ++y) {
        for (int x = 16; x < 292; ++x) {
            if (screen.pixel(x, 16 + 36 * (rowA - 1) + y) !=
                screen.pixel(x, 16 + 36 * (rowB - 1) + y)) {
                return false;
            }
        }
    }
    return true;
}

Game& openChoices(TestGame& t) {
    Game& g = t.start();
    t.player().run();
    return g;
}

// --- Drawing ----------------------------------------------------------------------------------

TEST(ChoiceRows, GivenSelect3_WhenOpened_ThenThreeRowsOfSilverTextOnTheRowBackground) {
    ASSERT_EQ(rowBackground().width(), 276);
    ASSERT_EQ(rowBackground().height(), 36);
    TestGame t({chunk("main", kThreeChoices)});
    Game& g = openChoices(t);

    ASSERT_EQ(g.menuKind, MenuKind::Choice);
    EXPECT_EQ(g.rowCount, 3);
    EXPECT_EQ(g.hoveredRow, 0);
    for (int row = 1; row <= 3; ++row) {
        const RowInk ink = rowInk(g.screen, row, kSilver);
        EXPECT_GT(ink.text, 0) << row;
        EXPECT_EQ(ink.stray, 0) << row;
    }
    EXPECT_FALSE(sameRows(g.screen, 1, 2));
    EXPECT_TRUE(allBackground(g.screen, {16, 124, 292, 160}));  // no fourth row
    EXPECT_TRUE(allBackground(g.screen, {292, 0, 640, 124}));
    EXPECT_TRUE(allBackground(g.screen, {0, 0, 16, 124}));
    EXPECT_TRUE(allBackground(g.screen, {0, 0, 640, 16}));
    // On the screen surface only.
    EXPECT_TRUE(allBackground(g.layers.composite, {0, 0, 640, 160}));
}

TEST(ChoiceRows, GivenThePointerMovesFromRow2ToRow3_WhenRedrawn_ThenOnlyRow3IsWhite) {
    TestGame t({chunk("main", kThreeChoices)});
    Game& g = openChoices(t);

    t.player().mouseMove(kRowX, rowY(2));
    ASSERT_EQ(g.hoveredRow, 2);
    EXPECT_GT(rowInk(g.screen, 2, kWhite).text, 0);
    EXPECT_EQ(rowInk(g.screen, 2, kWhite).stray, 0);
    EXPECT_EQ(rowInk(g.screen, 3, kSilver).stray, 0);

    t.player().mouseMove(kRowX, rowY(3));
    ASSERT_EQ(g.hoveredRow, 3);
    for (int row : {1, 2}) {
        EXPECT_GT(rowInk(g.screen, row, kSilver).text, 0) << row;
        EXPECT_EQ(rowInk(g.screen, row, kSilver).stray, 0) << row;
    }
    EXPECT_GT(rowInk(g.screen, 3, kWhite).text, 0);
    EXPECT_EQ(rowInk(g.screen, 3, kWhite).stray, 0);
}

TEST(ChoiceRows, GivenARowHovered_WhenThePointerMovesWithinIt_ThenNothingIsRedrawn) {
    TestGame t({chunk("main", kThreeChoices)});
    Game& g = openChoices(t);
    t.player().mouseMove(kRowX, rowY(2));
    // A mark on row 1's background that only a redraw of the rows would remove.
    g.screen.row(20)[3 * 20] = 0x12;

    t.player().mouseMove(kRowX + 40, rowY(2) + 10);
    EXPECT_EQ(g.screen.row(20)[3 * 20], 0x12);

    t.player().mouseMove(kRowX, rowY(3));
    EXPECT_EQ(g.screen.pixel(20, 20), rowBackground().pixel(4, 4));
}

TEST(ChoiceRows, GivenThePointerLeavesTheRows_WhenMoved_ThenEveryRowIsSilverAgain) {
    TestGame t({chunk("main", kThreeChoices)});
    Game& g = openChoices(t);
    t.player().mouseMove(kRowX, rowY(1));

    t.player().mouseMove(400, 300);

    EXPECT_EQ(g.hoveredRow, 0);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(rowInk(g.screen, row, kSilver).stray, 0) << row;
}

// --- Hover band -------------------------------------------------------------------------------

TEST(ChoiceHover, GivenThreeRows_WhenThePointerIsOnAnEdge_ThenTheEdgeBelongsToNoRow) {
    struct Point {
        int x;
        int y;
        std::int32_t row;
    };
    const std::vector<Point> points{
        {16, 30, 0},   {17, 30, 1},   {291, 30, 1},  {292, 30, 0}, {100, 16, 0},
        {100, 17, 1},  {100, 51, 1},  {100, 52, 2},  {100, 87, 2}, {100, 88, 3},
        {100, 123, 3}, {100, 124, 0}, {291, 123, 3}, {17, 17, 1},  {292, 123, 0},
    };
    TestGame t({chunk("main", kThreeChoices)});
    Game& g = openChoices(t);
    for (const Point& p : points) {
        t.player().mouseMove(p.x, p.y);
        EXPECT_EQ(g.hoveredRow, p.row) << p.x << "," << p.y;
    }
}

TEST(ChoiceHover, GivenThreeTouchingRows_WhenThePointerVisitsEveryInnerPoint_ThenEachIsOverItsRow) {
    TestGame t({chunk("main", kThreeChoices)});
    Game& g = openChoices(t);
    int misses = 0;
    for (int y = 17; y <= 16 + 36 * 3 - 1; ++y) {
        for (int x = 17; x <= 291; ++x) {
            t.player().mouseMove(x, y);
            if (g.hoveredRow != (y - 16) / 36 + 1) ++misses;
        }
    }
    EXPECT_EQ(misses, 0);
}

// --- Pick -------------------------------------------------------------------------------------

TEST(ChoicePick, GivenRow2Of3_WhenPicked_ThenCase2RunsAndTheScriptSkipsToEndAtCase3) {
    TestGame t({chunk("main", kThreeChoices)}, GameOptions{.withSound = true});
    Game& g = openChoices(t);

    t.player().click(MouseButton::Left, kRowX, rowY(2));

    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.caseState, CaseState::InBranch);
    EXPECT_TRUE(allBackground(g.screen, {0, 0, 640, 160}));
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"C2", "after"}));
    EXPECT_EQ(g.caseState, CaseState::None);
}

TEST(ChoicePick, GivenTheBuildWithSound_WhenAMenuOpensAndARowIsPicked_ThenTheirVoicesPlay) {
    TestGame t({chunk("main", kThreeChoices)}, GameOptions{.withSound = true});
    t.addMenuVoices();
    openChoices(t);
    EXPECT_EQ(t.events("voice "), Lines{"90022"});

    t.player().mouseMove(kRowX, rowY(1));
    EXPECT_EQ(t.events("voice "), Lines{"90022"});
    t.player().mouseDown(MouseButton::Left, kRowX, rowY(1));

    // The click on a row and the pick itself each start the clip.
    EXPECT_EQ(t.events("voice "), (Lines{"90022", "90023", "90023"}));
}

TEST(ChoicePick, GivenAClickRightOfTheRows_WhenPressed_ThenNothingHappensAndTheMenuStays) {
    TestGame t({chunk("main", kThreeChoices)}, GameOptions{.withSound = true});
    t.addMenuVoices();
    Game& g = openChoices(t);

    t.player().click(MouseButton::Left, 292, rowY(2));
    t.player().click(MouseButton::Left, kRowX, 16);

    EXPECT_EQ(g.menuKind, MenuKind::Choice);
    EXPECT_EQ(t.events("voice "), Lines{"90022"});
    EXPECT_EQ(rowInk(g.screen, 2, kSilver).stray, 0);
    EXPECT_GT(rowInk(g.screen, 2, kSilver).text, 0);

    t.player().click(MouseButton::Left, 291, rowY(2));
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"C2", "after"}));
}

TEST(ChoicePick, GivenAFreshMenu_WhenPressedBeforeThePointerMoves_ThenNothingIsPicked) {
    TestGame t({chunk("main", kThreeChoices)});
    Game& g = openChoices(t);

    t.player().mouseDown(MouseButton::Left, kRowX, rowY(1));
    t.player().mouseUp(MouseButton::Left, kRowX, rowY(1));

    EXPECT_EQ(g.menuKind, MenuKind::Choice);
    EXPECT_EQ(g.caseState, CaseState::None);
}

TEST(ChoicePick, GivenNoBranchLabel_WhenPicked_ThenTheChoiceLinesRunAsText) {
    TestGame t({chunk("main", "*gra S246,0\n*select 2\nr1\nr2\nlast\n")});
    openChoices(t);

    t.player().click(MouseButton::Left, kRowX, rowY(2));
    t.player().run();

    EXPECT_EQ(t.textLines(), (Lines{"r1", "r2", "last"}));
}

// --- Choice text ------------------------------------------------------------------------------

TEST(ChoiceText, GivenALineOver31Bytes_WhenDrawn_ThenItIsCutAndTheNextRowIsTheNextLine) {
    const std::string cut(31, 'i');
    TestGame t({chunk("main", "*gra S246,0\n*select 3\n" + cut + "MMMM\n" + cut + "\nok\n")});
    Game& g = openChoices(t);

    EXPECT_GT(rowInk(g.screen, 1, kSilver).text, 0);
    EXPECT_TRUE(sameRows(g.screen, 1, 2));
    EXPECT_FALSE(sameRows(g.screen, 2, 3));
    EXPECT_GT(rowInk(g.screen, 3, kSilver).text, 0);
}

// --- Counts outside 1 to 9 ----------------------------------------------------------------------

TEST(ChoiceCount, GivenACountOfZeroOrLess_WhenSelectRuns_ThenNoMenuOpensAndTheScriptGoesOn) {
    for (const char* count : {"0", "-2"}) {
        TestGame t({chunk("main", std::string("*gra S246,0\n*select ") + count + "\nnext\n")});
        Game& g = openChoices(t);

        EXPECT_EQ(g.menuKind, MenuKind::None) << count;
        EXPECT_EQ(t.textLines(), Lines{"next"}) << count;
        EXPECT_TRUE(allBackground(g.screen, {0, 0, 640, 160})) << count;
    }
}

TEST(ChoiceCount, GivenACountOver9_WhenSelectRuns_ThenNineRowsShowAndRowNineCanBePicked) {
    std::string script = "*gra S246,0\n*select 12\n";
    for (int i = 1; i <= 12; ++i) script += "choice" + std::to_string(i) + "\n";
    script += ":CASE9\nnine\n:end\nafter\n";
    TestGame t({chunk("main", script)});
    Game& g = openChoices(t);

    EXPECT_EQ(g.rowCount, 9);
    EXPECT_GT(rowInk(g.screen, 9, kSilver).text, 0);
    EXPECT_EQ(rowInk(g.screen, 9, kSilver).stray, 0);
    EXPECT_TRUE(allBackground(g.screen, {16, 340, 292, 376}));
    t.player().mouseMove(kRowX, 340);
    EXPECT_EQ(g.hoveredRow, 0);
    t.player().mouseMove(kRowX, 339);
    EXPECT_EQ(g.hoveredRow, 9);

    t.player().click(MouseButton::Left, kRowX, 339);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"nine", "after"}));
}

TEST(ChoiceCount, GivenMoreRowsThanLinesLeftInTheChunk_WhenDrawn_ThenTheMissingRowsAreBlank) {
    // The longer chunk before it leaves its bytes in the script buffer past the short one's end.
    std::string first = "*chain short\n";
    for (int i = 0; i < 10; ++i) first += "WWWWWWWWWW\n";
    TestGame t({chunk("main", first), chunk("short", "*gra S246,0\n*select 3\nA\n")});
    Game& g = openChoices(t);
    ASSERT_EQ(g.menuKind, MenuKind::Choice);

    EXPECT_GT(rowInk(g.screen, 1, kSilver).text, 0);
    for (int row : {2, 3}) {
        const RowInk ink = rowInk(g.screen, row, kSilver);
        EXPECT_EQ(ink.text, 0) << row;
        EXPECT_EQ(ink.stray, 0) << row;
    }
}

}  // namespace
}  // namespace corvan::test
