// The system menu of the right click: its rows (three, or two inside a called chunk or a message
// section), the grey panel at (16, 16) with black labels and a white hovered one, the hover band
// that reaches past the panel, and what each row does.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "settings/setting_names.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kBackground = 0x204060;  // the solid picture S246
constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kRowX = 100;

// The middle of row `row` (1-based) in the hover band.
int rowY(int row) {
    return 24 + 20 * (row - 1) + 10;
}

// Where the label of row `row` is written: 8 pixels in from the panel's corner, 20 a row.
Rect labelBand(int row) {
    return {16, 24 + 20 * (row - 1), 224, 44 + 20 * (row - 1)};
}

// The pixels of `colour` in `r`.
int count(const Bitmap& b, Rect r, std::uint32_t colour) {
    const auto counts = colourCounts(b, r);
    const auto it = counts.find(colour);
    return it == counts.end() ? 0 : it->second;
}

// Whether `r` holds nothing but the grey, black and white of the panel.
bool panelColoursOnly(const Bitmap& b, Rect r) {
    for (const auto& [colour, n] : colourCounts(b, r)) {
        if (colour != kGrey && colour != kBlack && colour != kWhite) return false;
    }
    return true;
}

// Plays the chunks at the fast speed up to the first wait, then opens the system menu with a
// right click away from its rows.
Game& openMenu(TestGame& t) {
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();
    t.player().click(MouseButton::Right, 600, 300);
    return g;
}

const char* const kPage = "*gra S246,0\nab▼\ncd\n";

// --- Rows and panel ---------------------------------------------------------------------------

TEST(SystemMenuPanel, GivenTheMainStory_WhenOpenedAndHovered_ThenThePanelLabelsAndBandFollow) {
    TestGame t({chunk("main", kPage)});
    Game& g = openMenu(t);

    EXPECT_EQ(g.rowCount, 3);
    EXPECT_EQ(g.menuKind, MenuKind::System);
    const Bitmap& s = g.screen;
    // 208 by 76 pixels, drawn on the screen surface only.
    for (auto [x, y] : {std::pair{16, 16}, {223, 16}, {16, 91}, {223, 91}}) {
        EXPECT_EQ(s.pixel(x, y), kGrey) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{15, 16}, {16, 15}, {224, 50}, {100, 92}}) {
        EXPECT_EQ(s.pixel(x, y), kBackground) << x << "," << y;
    }
    EXPECT_EQ(g.layers.composite.pixel(16, 16), kBackground);
    // No row hovered: every label black on grey, 8 pixels inside the panel.
    EXPECT_EQ(count(s, {16, 16, 224, 92}, kWhite), 0);
    EXPECT_TRUE(panelColoursOnly(s, {16, 16, 224, 92}));
    for (int row = 1; row <= 3; ++row) EXPECT_GT(count(s, labelBand(row), kBlack), 0) << row;
    EXPECT_EQ(count(s, {16, 16, 224, 24}, kGrey), 208 * 8);
    EXPECT_EQ(count(s, {16, 16, 24, 92}, kGrey), 8 * 76);

    // The hovered label turns white, the others stay black.
    t.player().mouseMove(kRowX, rowY(2));
    ASSERT_EQ(g.hoveredRow, 2);
    EXPECT_GT(count(s, labelBand(2), kWhite), 0);
    EXPECT_EQ(count(s, labelBand(2), kBlack), 0);
    for (int row : {1, 3}) {
        EXPECT_GT(count(s, labelBand(row), kBlack), 0) << row;
        EXPECT_EQ(count(s, labelBand(row), kWhite), 0) << row;
    }
    EXPECT_TRUE(panelColoursOnly(s, {16, 16, 224, 92}));

    t.player().mouseMove(kRowX, rowY(3));
    EXPECT_EQ(count(s, labelBand(2), kWhite), 0);
    EXPECT_GT(count(s, labelBand(3), kWhite), 0);

    // Moving within the same row does not redraw the panel: a mark on it stays.
    t.player().mouseMove(kRowX, rowY(1));
    g.screen.row(90)[3 * 200] = 0x12;
    t.player().mouseMove(kRowX + 30, rowY(1) + 5);
    EXPECT_EQ(g.screen.row(90)[3 * 200], 0x12);
    t.player().mouseMove(kRowX, rowY(2));
    EXPECT_EQ(g.screen.pixel(200, 90), kGrey);

    // The hover band reaches past the panel on the right; its edges are exclusive.
    struct Point {
        int x;
        int y;
        std::int32_t row;
    };
    const std::vector<Point> points{
        {17, 30, 1},  {16, 30, 0},  {223, 30, 1}, {224, 30, 1}, {271, 30, 1}, {272, 30, 0},
        {100, 24, 0}, {100, 25, 1}, {100, 43, 1}, {100, 44, 2}, {100, 63, 2}, {100, 64, 3},
        {100, 83, 3}, {100, 84, 0}, {271, 83, 3}, {100, 16, 0}, {300, 50, 0}, {250, 50, 2},
    };
    for (const Point& p : points) {
        t.player().mouseMove(p.x, p.y);
        EXPECT_EQ(g.hoveredRow, p.row) << p.x << "," << p.y;
    }
    t.player().mouseMove(250, rowY(1));
    EXPECT_GT(count(s, labelBand(1), kWhite), 0);

    // Row two, clicked right of the panel, closes the window without a question.
    t.player().click(MouseButton::Left, 271, rowY(2));
    EXPECT_TRUE(t.host().windowClosed());
    EXPECT_TRUE(t.events("msgbox").empty());
    EXPECT_EQ(t.events("close"), Lines{""});
}

TEST(SystemMenuRows, GivenACalledChunkRunning_WhenOpened_ThenTwoRowsIn56PixelsUntilItReturns) {
    TestGame full({chunk("main", kPage)});
    Game& reference = openMenu(full);
    TestGame t({chunk("main", "*gra S246,0\n*call sub\nafter▼\n"), chunk("sub", "ab▼\n*end\n")});
    Game& g = openMenu(t);
    ASSERT_TRUE(g.inCall);

    EXPECT_EQ(g.rowCount, 2);
    EXPECT_EQ(g.screen.pixel(16, 71), kGrey);
    EXPECT_EQ(g.screen.pixel(16, 72), kBackground);
    EXPECT_EQ(g.screen.pixel(223, 71), kGrey);
    // The first two rows are the same as in the full menu; the third is not there.
    EXPECT_TRUE(sameArea(g.screen, reference.screen, {16, 16, 224, 64}));
    EXPECT_EQ(count(g.screen, {16, 64, 224, 72}, kGrey), 208 * 8);
    for (std::uint32_t c : {kGrey, kBlack, kWhite})
        EXPECT_EQ(count(g.screen, {16, 72, 224, 92}, c), 0);

    // The hover band ends below the second row.
    t.player().mouseMove(kRowX, 63);
    EXPECT_EQ(g.hoveredRow, 2);
    t.player().mouseMove(kRowX, 64);
    EXPECT_EQ(g.hoveredRow, 0);
    t.player().mouseMove(kRowX, rowY(3));
    EXPECT_EQ(g.hoveredRow, 0);
    t.player().click(MouseButton::Left, kRowX, rowY(3));
    EXPECT_EQ(g.menuKind,
              MenuKind::None);  // a click where the load row would be only closes the menu

    // Once the called chunk has returned, the menu has three rows again.
    t.player().click(MouseButton::Left, 600, 300);
    t.player().run();
    ASSERT_FALSE(g.inCall);
    ASSERT_EQ(t.textLines().back(), "after▼");
    t.player().click(MouseButton::Right, 600, 300);
    EXPECT_EQ(g.rowCount, 3);
    EXPECT_EQ(g.screen.pixel(16, 91), kGrey);
}

TEST(SystemMenuRows, GivenAMessageSectionRunning_WhenOpened_ThenTwoRows) {
    TestGame t({chunk("main", "*gra S246,0\n*mess 0\nafter\n"), chunk("messys", "ab▼\n:\n")});
    Game& g = openMenu(t);
    ASSERT_TRUE(g.inMessage);

    EXPECT_EQ(g.rowCount, 2);
    EXPECT_EQ(g.screen.pixel(16, 71), kGrey);
    EXPECT_EQ(g.screen.pixel(16, 72), kBackground);
}

// --- Row actions --------------------------------------------------------------------------------

TEST(SystemMenuActions, GivenRowOneOrThree_WhenClicked_ThenTheDialogRunsOrTheSlotListOpens) {
    TestGame t({chunk("main", kPage)}, GameOptions{.withSound = true});
    t.addMenuVoices();
    Game& g = openMenu(t);
    t.host().queueDialogSetting(std::string(setting::kBgm), "1");
    t.host().queueDialogSetting(std::string(setting::kGMode), "2");

    t.player().click(MouseButton::Left, kRowX, rowY(1));

    EXPECT_EQ(t.events("dialog"), Lines{" settings"});
    EXPECT_EQ(t.events("voice "), Lines{"90023"});
    EXPECT_FALSE(g.settings.musicOn);
    EXPECT_EQ(g.settings.speedFactor, 3);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_TRUE(sameArea(g.screen, g.layers.composite, {0, 0, 640, 376}));
    EXPECT_FALSE(t.host().windowClosed());
    EXPECT_EQ(g.waitKind, WaitKind::Page);

    // Row three opens the slot list, which ignores the press that opened it.
    t.player().click(MouseButton::Right, 600, 300);
    t.player().mouseMove(kRowX, rowY(3));
    t.player().mouseDown(MouseButton::Left, kRowX, rowY(3));
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_TRUE(g.inputLatch);
    // While the button is still down the list neither hovers nor takes a press on its first
    // row, which would close it.
    t.player().mouseMove(kRowX, rowY(1));
    EXPECT_EQ(g.hoveredRow, 0);
    t.player().mouseDown(MouseButton::Left, kRowX, rowY(1));
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    t.player().mouseUp(MouseButton::Left, kRowX, rowY(1));
    EXPECT_FALSE(g.inputLatch);
    t.player().mouseMove(kRowX, rowY(2));
    EXPECT_EQ(g.hoveredRow, 2);
}

}  // namespace
}  // namespace corvan::test
