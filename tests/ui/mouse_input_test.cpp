// The mouse on the screen surface: what a press does in each state of the game. The latch, the
// gallery screens, the right button by menu, the middle button, and the left button that ends
// click waits or acts on the menu shown.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "headless/state_json.h"
#include "render/layers.h"
#include "settings/setting_names.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// The solid picture S246 every scenario here starts with: blue 0x20, green 0x40, red 0x60.
constexpr std::uint32_t kBackground = 0x204060;
constexpr std::uint32_t kGrey = 0x808080;
// A point on the system menu's first row and one on its second.
constexpr int kRowX = 100;
constexpr int kRow1Y = 30;
constexpr int kRow2Y = 50;

// A page of text at the fast speed on the solid picture, left waiting at its ▼.
std::string pageScript(const std::string& extra = "") {
    return "*gra S246,0\n" + extra + "ab▼\ncd\n";
}

Game& startFast(TestGame& t) {
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();
    return g;
}

// --- The latch and the gallery screens -------------------------------------------------------

TEST(MouseLatch, GivenTheLatch_WhenTheRightButtonIsPressedOrThePointerMoves_ThenNothingHappens) {
    // Until a button is released no menu opens and no row of an open one is hovered.
    TestGame t({chunk("main", pageScript())});
    Game& g = startFast(t);
    ASSERT_EQ(g.waitKind, WaitKind::Page);
    g.inputLatch = true;

    t.player().mouseDown(MouseButton::Right, kRowX, kRow1Y);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.screen.pixel(16, 16), kBackground);
    t.player().mouseUp(MouseButton::Middle, kRowX, kRow1Y);
    EXPECT_FALSE(g.inputLatch);
    t.player().mouseDown(MouseButton::Right, kRowX, kRow1Y);
    EXPECT_EQ(g.menuKind, MenuKind::System);

    g.inputLatch = true;
    t.player().mouseMove(kRowX, kRow1Y);
    EXPECT_EQ(g.hoveredRow, 0);
    t.player().mouseUp(MouseButton::Left, kRowX, kRow1Y);
    t.player().mouseMove(kRowX, kRow1Y);
    EXPECT_EQ(g.hoveredRow, 1);
}

TEST(ViewScreen, GivenAGalleryScreen_WhenAButtonIsPressedOrThePointerMoves_ThenNothingIsTouched) {
    TestGame t({chunk("main", pageScript())});
    Game& g = startFast(t);
    g.viewFlag = ViewFlag::ViewShown;
    t.player().click(MouseButton::Right, kRowX, kRow1Y);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.screen.pixel(16, 16), kBackground);
    t.player().click(MouseButton::Left, kRowX, kRow1Y);
    EXPECT_EQ(g.waitKind, WaitKind::Page);

    // Over the system menu no row is hovered.
    g.viewFlag = ViewFlag::Story;
    t.player().click(MouseButton::Right, 600, 300);
    g.viewFlag = ViewFlag::ViewShown;
    t.player().mouseMove(kRowX, kRow1Y);
    EXPECT_EQ(g.hoveredRow, 0);
}

// --- The right button ----------------------------------------------------------------------

// The game's own handlers: the reader above them takes the middle button to hide the frame.
void middleClick(Game& g, int x, int y) {
    g.Image1MouseDown(MouseButton::Middle, x, y);
    g.Image1MouseUp(MouseButton::Middle, x, y);
}

TEST(RightClick, GivenNoMenuOrTheSystemMenu_WhenRightOrMiddleClicked_ThenOnlyTheRightButtonActs) {
    TestGame t({chunk("main", pageScript())}, GameOptions{.withSound = false});
    Game& g = startFast(t);
    middleClick(g, kRowX, kRow1Y);
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_EQ(g.menuKind, MenuKind::None);

    t.player().click(MouseButton::Right, 600, 300);
    EXPECT_EQ(g.menuKind, MenuKind::System);
    EXPECT_EQ(g.rowCount, 3);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_EQ(g.screen.pixel(16, 16), kGrey);
    EXPECT_EQ(g.waitKind, WaitKind::Page);

    t.player().mouseMove(kRowX, kRow1Y);
    ASSERT_EQ(g.hoveredRow, 1);
    middleClick(g, kRowX, kRow1Y);
    EXPECT_EQ(g.menuKind, MenuKind::System);
    EXPECT_TRUE(t.events("dialog").empty());
    EXPECT_EQ(g.screen.pixel(16, 16), kGrey);

    t.player().click(MouseButton::Right, kRowX, kRow1Y);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_TRUE(sameArea(g.screen, g.layers.composite, {0, 0, 640, 376}));
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_FALSE(t.host().windowClosed());

    // A row clicked in the build without sound acts with no voice.
    t.player().click(MouseButton::Right, 600, 300);
    t.player().click(MouseButton::Left, kRowX, kRow2Y);
    EXPECT_TRUE(t.host().windowClosed());
    EXPECT_TRUE(t.events("voice").empty());
}

// The row hovered in the last menu is forgotten when the system menu opens, so a click that
// was never pointed at a row cannot run one.
TEST(RightClick,
     GivenARowPickedInTheChoiceMenu_WhenTheSystemMenuOpensAndIsClickedInPlace_ThenItOnlyCloses) {
    TestGame t({chunk("main",
                      "*gra S246,0\n*select 3\none\ntwo\nthree\n:CASE1\nA▼\n:CASE2\nB▼\n"
                      ":CASE3\nC▼\n:end\nafter\n")});
    Game& g = startFast(t);
    ASSERT_EQ(g.menuKind, MenuKind::Choice);
    t.player().click(MouseButton::Left, kRowX, 16 + 36 + 10);  // row 2 of the choices
    t.player().run();
    ASSERT_EQ(t.textLines(), Lines{"B▼"});
    ASSERT_EQ(g.menuKind, MenuKind::None);

    t.player().mouseDown(MouseButton::Right, kRowX, kRow2Y);
    t.player().mouseUp(MouseButton::Right, kRowX, kRow2Y);
    ASSERT_EQ(g.menuKind, MenuKind::System);
    EXPECT_EQ(g.hoveredRow, 0);
    t.player().mouseDown(MouseButton::Left, kRowX, kRow2Y);
    t.player().mouseUp(MouseButton::Left, kRowX, kRow2Y);

    EXPECT_FALSE(t.host().windowClosed());
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.screen.pixel(16, 16), kBackground);
}

TEST(RightClick, GivenTheChoiceMenuSlotListOrHotelMenu_WhenRightClicked_ThenNothingChanges) {
    for (const auto& [body, kind] : {std::pair{"*select 2\none\ntwo\n", MenuKind::Choice},
                                     {"*load\n", MenuKind::Slots},
                                     {"*move\n", MenuKind::Hotel}}) {
        SCOPED_TRACE(body);
        TestGame t({chunk("main", std::string("*gra S246,0\n") + body)});
        Game& g = t.start();
        t.player().run();
        ASSERT_EQ(g.menuKind, kind);
        t.player().mouseUp(MouseButton::Left, 600, 300);  // the latch of the slot list
        const Bitmap before = g.screen;

        t.player().mouseDown(MouseButton::Right, 600, 300);
        t.player().mouseUp(MouseButton::Right, 600, 300);

        EXPECT_EQ(g.menuKind, kind);
        EXPECT_TRUE(sameBitmap(g.screen, before));
    }
}

TEST(RightClick, GivenTheFloorMap_WhenRightClicked_ThenTheHotelMenuReturnsAndTheMouseLatches) {
    TestGame t({chunk("main", pageScript())});
    Game& g = startFast(t);
    g.menuKind = MenuKind::FloorMap;
    t.player().mouseDown(MouseButton::Right, 320, 240);
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_TRUE(g.inputLatch);
}

TEST(RightClick, GivenFlag19OrTheAlternateTextMode_WhenRightClicked_ThenNoMenuOpens) {
    // The page wait still ends on a left click.
    for (const std::string& script :
         {pageScript("*flag_on 19\n"), "*gra S246,0\n*mode 1\nあい▼\nう\n"s}) {
        SCOPED_TRACE(script);
        TestGame t({chunk("main", script)});
        Game& g = startFast(t);
        ASSERT_EQ(g.waitKind, WaitKind::Page);
        const Bitmap before = g.screen;
        g.hoveredRow = 2;  // as an earlier menu may have left it
        const std::string state = stateJson(g);

        t.player().click(MouseButton::Right, kRowX, kRow1Y);
        EXPECT_EQ(stateJson(g), state);
        EXPECT_EQ(g.menuKind, MenuKind::None);
        EXPECT_EQ(g.rowCount, 0);
        EXPECT_TRUE(sameBitmap(g.screen, before));
        t.player().click(MouseButton::Left, kRowX, kRow1Y);
        EXPECT_EQ(g.waitKind, WaitKind::None);
        EXPECT_FALSE(t.host().windowClosed());
    }
}

TEST(RightClick,
     GivenAPageWait_WhenTheSystemMenuOpensAndCloses_ThenTheWaitLastsUntilTheNextLeftClick) {
    for (const MouseButton closer : {MouseButton::Right, MouseButton::Left}) {
        TestGame t({chunk("main", pageScript())});
        Game& g = startFast(t);
        t.player().click(MouseButton::Right, 600, 300);
        ASSERT_EQ(g.menuKind, MenuKind::System);
        t.player().idle(6);

        t.player().click(closer, 600, 300);  // outside the rows: closes the menu
        ASSERT_EQ(g.menuKind, MenuKind::None);
        t.player().idle(6);
        EXPECT_EQ(g.waitKind, WaitKind::Page);
        EXPECT_EQ(t.textLines(), Lines{"ab▼"});

        t.player().click(MouseButton::Left, 600, 300);
        t.player().run();
        EXPECT_EQ(t.textLines(), (Lines{"ab▼", "cd"}));
    }
}

// --- The left button without a menu --------------------------------------------------------

TEST(LeftClick, GivenAPageOrPlainWaitWithItsMarker_WhenClicked_ThenTheCornerAndTheFrameAreRedone) {
    // The corner shows the picture again; a page wait clears the text frame to its backdrop,
    // a plain wait keeps its text.
    for (const bool page : {true, false}) {
        SCOPED_TRACE(page);
        TestGame t({chunk("main", page ? pageScript() : "*gra S246,0\nab〓\ncd\n")});
        Game& g = startFast(t);
        ASSERT_EQ(g.waitKind, page ? WaitKind::Page : WaitKind::Plain);
        const Bitmap frame = g.layers.textFrame;
        ASSERT_FALSE(sameBitmap(frame, g.layers.frameBackdrop));
        g.tickCount = 7;
        g.Timer1Timer();  // tick 8: the marker at its largest
        ASSERT_FALSE(sameArea(g.screen, g.layers.composite, kMarkerCorner));

        t.player().click(MouseButton::Left, 320, 240);

        EXPECT_TRUE(sameArea(g.screen, g.layers.composite, kMarkerCorner));
        EXPECT_EQ(g.waitKind, WaitKind::None);
        EXPECT_TRUE(sameBitmap(g.layers.textFrame, page ? g.layers.frameBackdrop : frame));
        EXPECT_EQ(g.textLine, 0);
        EXPECT_EQ(g.textColumn, page ? 0 : 2);
    }
}

TEST(LeftClick, GivenAPageWaitInTheAlternateMode_WhenClicked_ThenThePictureIsRestoredUnderTheText) {
    TestGame t({chunk("main", "*gra S246,0\n*mode 1\nあい▼\nう\n")});
    Game& g = startFast(t);
    ASSERT_EQ(g.waitKind, WaitKind::Page);
    ASSERT_NE(g.layers.composite.pixel(63, 51), kBackground);  // the first character's box
    const Bitmap frame = g.layers.textFrame;

    t.player().click(MouseButton::Left, 320, 240);

    EXPECT_EQ(g.waitKind, WaitKind::None);
    EXPECT_TRUE(sameBitmap(g.layers.composite, g.layers.background));
    EXPECT_EQ(g.textLine, 0);
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_TRUE(sameBitmap(g.layers.textFrame, frame));
    EXPECT_FALSE(g.frameOpen);
}

// --- The left button on a menu --------------------------------------------------------------

TEST(LeftClick, GivenTheSystemMenu_WhenClickedOutsideOrOnARow_ThenVoice90023PlaysOnlyForTheRow) {
    TestGame t({chunk("main", pageScript())}, GameOptions{.withSound = true});
    t.addMenuVoices();
    Game& g = startFast(t);
    t.player().click(MouseButton::Right, 600, 300);

    t.player().click(MouseButton::Left, 600, 300);  // outside: it only closes
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.screen.pixel(16, 16), kBackground);
    EXPECT_TRUE(t.events("voice").empty());
    EXPECT_FALSE(t.host().windowClosed());
    EXPECT_EQ(g.waitKind, WaitKind::Page);

    t.player().click(MouseButton::Right, 600, 300);
    t.player().click(MouseButton::Left, kRowX, kRow2Y);  // the voice comes before the action
    const auto& log = t.host().events();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "voice 90023");
    EXPECT_EQ(log.back(), "close");
}

}  // namespace
}  // namespace corvan::test
