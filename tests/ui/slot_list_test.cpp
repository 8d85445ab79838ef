// The slot list: labels, the grey panel at (16, 16), hover band and latch, cancel, and saves and
// loads played by clicks.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/cp932.h"
#include "render/font.h"
#include "render/raster.h"
#include "settings/setting_names.h"
#include "support/file_size_limit.h"
#include "support/test_game.h"
#include "ui/saves.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

constexpr std::uint32_t kBackground = 0x204060;  // the solid picture S246
constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr int kRowX = 60;
constexpr Rect kPanel{16, 16, 128, 212};

// The middle of row `row` (1-based) in the hover band; row 1 is the cancel row, row s + 1 slot s.
int rowY(int row) {
    return 24 + 20 * (row - 1) + 10;
}

std::string sjis(const char* utf8) {
    return utf8ToCp932(utf8).value_or("?");
}

// The nine labels written out: "データ　０" for a saved slot 1, "未セーブ" for an empty one.
std::array<std::string, 9> expectedLabels(bool saving, const std::vector<int>& saved) {
    static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７"};
    std::array<std::string, 9> labels{sjis(saving ? "セーブしない" : "ロードしない")};
    for (int s = 1; s <= 8; ++s) labels[s] = sjis("未セーブ");
    for (int s : saved) labels[s] = sjis((std::string("データ　") + kDigits[s - 1]).c_str());
    return labels;
}

// The panel as it should look: grey, every label black at (8, 8 + 20 i), the highlighted one
// white, drawn by a text drawer of the test's own.
Bitmap expectedPanel(const std::array<std::string, 9>& labels, int highlight) {
    static TextRenderer drawer;
    Bitmap panel(112, 196);
    fillRect(panel, {0, 0, 112, 196}, kGrey);
    const FontSpec font{"ＭＳＰゴシック", 16, true};
    for (int i = 0; i < 9; ++i) {
        drawer.drawText(panel, 8, 8 + 20 * i, labels[static_cast<std::size_t>(i)], font,
                        i + 1 == highlight ? kWhite : kBlack);
    }
    return panel;
}

// How many pixels of the screen's panel differ from `panel`.
int panelDifferences(const Bitmap& screen, const Bitmap& panel) {
    int differences = 0;
    for (int y = 0; y < panel.height(); ++y) {
        for (int x = 0; x < panel.width(); ++x) {
            if (screen.pixel(kPanel.left + x, kPanel.top + y) != panel.pixel(x, y)) ++differences;
        }
    }
    return differences;
}

int countColour(const Bitmap& b, Rect r, std::uint32_t colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) n += b.pixel(x, y) == colour ? 1 : 0;
    }
    return n;
}

// The label band of row `row` on the screen.
Rect labelBand(int row) {
    return {24, 24 + 20 * (row - 1), 128, 44 + 20 * (row - 1)};
}

void writeSave(const TestGame& t, int slot, const Bytes& bytes = Bytes(8256, 0)) {
    writeBytes(t.saveDir() / ("save" + std::to_string(slot) + ".cv"), bytes);
}

// The story pauses in the slot list that its `load` line opens; the line after it runs only
// when the story goes on. The list's latch is released as a real button's would be.
std::vector<ChunkSource> loadStory() {
    return {chunk("main", "*gra S246,0\n*load\nafter the list▼\n"), chunk("SAVE", "saved▼\n"),
            chunk("LOAD", "loaded▼\n")};
}

Game& openByLoadCommand(TestGame& t) {
    Game& g = t.start();
    t.player().run();
    t.player().mouseUp(MouseButton::Left, 600, 300);
    return g;
}

// Reopens the list for saving (or loading) and releases the latch as a real button would.
void reopenList(TestGame& t, Game& g, bool saving) {
    g.menuKind = MenuKind::None;
    g.OpenSlotList(saving);
    t.player().mouseUp(MouseButton::Left, 600, 300);
}

TEST(SlotLabels, GivenSave1AndSave3_WhenTheLoadListOpens_ThenAGreyPanelShowsTheirLabelsAlone) {
    TestGame t(loadStory());
    t.addMenuVoices();
    writeSave(t, 1);
    writeSave(t, 3);
    Game& g = openByLoadCommand(t);
    ASSERT_EQ(g.menuKind, MenuKind::Slots);
    EXPECT_EQ(g.slotLabels, expectedLabels(false, {1, 3}));
    EXPECT_EQ(panelDifferences(g.screen, expectedPanel(expectedLabels(false, {1, 3}), 0)), 0);
    EXPECT_EQ(g.rowCount, 9);
    EXPECT_EQ(g.layers.menuWork.width(), 112);
    EXPECT_EQ(g.layers.menuWork.height(), 196);
    EXPECT_EQ(g.screen.pixel(16, 16), kGrey);
    EXPECT_EQ(g.screen.pixel(127, 211), kGrey);
    EXPECT_EQ(g.screen.pixel(128, 100), kBackground);
    EXPECT_EQ(g.screen.pixel(60, 212), kBackground);
    EXPECT_EQ(g.screen.pixel(15, 100), kBackground);
    EXPECT_EQ(countColour(g.screen, kPanel, kWhite), 0);
    for (int row = 1; row <= 9; ++row) {
        EXPECT_GT(countColour(g.screen, labelBand(row), kBlack), 20) << "row " << row;
    }
    EXPECT_TRUE(g.updatePending);
    // A click outside the rows and a right click leave the list up; cancel goes on with the story.
    t.player().click(MouseButton::Left, 400, 300);
    t.player().click(MouseButton::Right, kRowX, rowY(2));
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    EXPECT_TRUE(t.textLines().empty());
    t.player().click(MouseButton::Left, kRowX, rowY(1));
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.screen.pixel(60, 60), kBackground);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"after the list▼"}));
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    EXPECT_EQ(t.events("voice "), (Lines{"90023"}));
}

TEST(SlotLabels, GivenEverySlotSaved_WhenTheSaveListOpens_ThenSlot8ShowsSevenAndCancelSaysSave) {
    TestGame t(loadStory());
    for (int s = 1; s <= 8; ++s) writeSave(t, s);
    Game& g = openByLoadCommand(t);
    g.menuKind = MenuKind::None;
    g.OpenSlotList(true);
    const auto expected = expectedLabels(true, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(g.slotLabels, expected);
    EXPECT_TRUE(g.savingToSlot);
    EXPECT_EQ(panelDifferences(g.screen, expectedPanel(expected, 0)), 0);
}

TEST(SlotLabels, GivenAnEmptyFileAFolderAndALaterSave_WhenTheListOpens_ThenOnlyTheFilesCount) {
    TestGame t(loadStory());
    writeSave(t, 2, {});
    fs::create_directory(t.saveDir() / "save4.cv");
    writeSave(t, 9);  // not a slot of the list
    Game& g = openByLoadCommand(t);
    EXPECT_EQ(g.slotLabels, expectedLabels(false, {2}));
    ASSERT_TRUE(g.SaveSlot(6));
    g.OpenSlotList(false);
    EXPECT_EQ(g.slotLabels, expectedLabels(false, {2, 6}));
}

TEST(SlotLabels, GivenPresenceFlags_WhenLabelsAreBuilt_ThenEachDigitIsTheSlotNumberLessOne) {
    std::array<bool, 8> present{};
    present.fill(true);
    present[4] = false;
    const auto labels = saves::slotListLabels(false, present);
    for (int s = 1; s <= 8; ++s) {
        const std::string& label = labels[static_cast<std::size_t>(s)];
        if (s == 5) {
            EXPECT_EQ(label, sjis("未セーブ"));
            continue;
        }
        ASSERT_EQ(label.size(), 10u);
        EXPECT_EQ(static_cast<std::uint8_t>(label[8]), 0x82);
        EXPECT_EQ(static_cast<std::uint8_t>(label[9]), 0x4E + s) << "slot " << s;
    }
}

TEST(SlotListHover, GivenTheBand_WhenThePointerMoves_ThenRowsFollowTheBoundsAndOnlyOneIsWhite) {
    struct Case {
        int x, y, row;
    };
    const Case cases[] = {
        {17, 25, 1}, {16, 25, 0},  {271, 30, 1}, {272, 30, 0},  {60, 24, 0},         {60, 43, 1},
        {60, 44, 2}, {60, 203, 9}, {60, 204, 0}, {200, 190, 9}, {kRowX, rowY(3), 3},
    };
    TestGame t(loadStory());
    writeSave(t, 8);
    Game& g = t.start();
    t.player().run();
    ASSERT_TRUE(g.inputLatch);  // from opening: nothing is hovered until a release
    t.player().mouseMove(kRowX, rowY(3));
    t.player().mouseDown(MouseButton::Left, kRowX, rowY(3));
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    t.player().mouseUp(MouseButton::Left, kRowX, rowY(3));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        t.player().mouseMove(300, 300);
        t.player().mouseMove(c.x, c.y);
        EXPECT_EQ(g.hoveredRow, c.row);
    }
    t.player().mouseMove(kRowX, rowY(9));
    EXPECT_EQ(panelDifferences(g.screen, expectedPanel(g.slotLabels, 9)), 0);
    EXPECT_GT(countColour(g.screen, labelBand(9), kWhite), 20);
    EXPECT_EQ(countColour(g.screen, labelBand(9), kBlack), 0);
    EXPECT_EQ(countColour(g.screen, labelBand(8), kWhite), 0);
    t.player().mouseMove(400, 400);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_EQ(countColour(g.screen, kPanel, kWhite), 0);
}

TEST(SlotListCancel,
     GivenTheReturnToHotelMark_WhenCancelled_ThenTheHotelMenuOpensAndTheStoryWaits) {
    TestGame t(loadStory());
    Game& g = openByLoadCommand(t);
    g.returnToHotelMark = 4;
    t.player().click(MouseButton::Left, kRowX, rowY(1));
    t.player().run();
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_EQ(g.returnToHotelMark, 4);
}

TEST(SlotListLoad,
     GivenTheSystemMenusLoadRow_WhenASavedSlotIsClicked_ThenItsGameLoadsAndLoadStarts) {
    TestGame t({chunk("main", "*gra S246,0\npage▼\n"), chunk("LOAD", "loaded▼\n")});
    Bytes save(8256, 0);
    save[0] = 0x08;                 // flag 3
    save[256 + 4 * 20] = 0x2A;      // V20 = 42
    save[4256 + 4 * 1 + 3] = 0x80;  // S1 = INT32_MIN
    writeSave(t, 2, save);
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();
    g.vars.setV(21, 5);
    t.player().click(MouseButton::Right, 600, 300);
    t.player().mouseMove(kRowX, rowY(3));
    t.player().mouseDown(MouseButton::Left, kRowX, rowY(3));
    ASSERT_EQ(g.menuKind, MenuKind::Slots);
    // The press that chose the row is not a pick in the list.
    t.player().mouseUp(MouseButton::Left, kRowX, rowY(3));
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    t.player().click(MouseButton::Left, kRowX, rowY(3));  // slot 2
    EXPECT_TRUE(g.vars.TestFlag(3));
    EXPECT_EQ(g.vars.v(20), 42);
    EXPECT_EQ(g.vars.v(21), 0);
    EXPECT_EQ(g.vars.s(1), INT32_MIN);
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "LOAD"}));
    EXPECT_EQ(g.lastChunk, "LOAD");
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);  // every load ends in the hotel menu
    EXPECT_EQ(g.waitKind, WaitKind::None);
}

TEST(SlotListLoad, GivenAnEmptySlot_WhenClickedWhileLoading_ThenTheHotelMenuOpensAndNothingLoads) {
    TestGame t(loadStory());
    Game& g = openByLoadCommand(t);
    g.vars.setV(1, 3);
    t.player().click(MouseButton::Left, kRowX, rowY(4));
    EXPECT_EQ(g.vars.v(1), 3);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    t.player().run();
    EXPECT_TRUE(t.textLines().empty());
}

TEST(SlotListSave, GivenTheSaveList_WhenASlotIsClicked_ThenTheGameIsWrittenThereAndSaveStarts) {
    TestGame t(loadStory());
    Game& g = openByLoadCommand(t);
    g.vars.setV(3, -7);
    g.vars.SetFlag(1000);
    g.returnToHotelMark = 4;  // as the hotel menu's セーブ leaves it
    reopenList(t, g, true);
    t.player().click(MouseButton::Left, kRowX, rowY(6));  // slot 5
    const std::string bytes = readText(t.saveDir() / "save5.cv");
    ASSERT_EQ(bytes.size(), 8256u);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[125]), 0x01);  // flag 1000
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[256 + 12]), 0xF9);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[256 + 15]), 0xFF);
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "SAVE"}));
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_TRUE(t.events("msgbox").empty());
    // The saved game shows in the next list and loads back.
    g.vars.setV(3, 0);
    g.OpenSlotList(false);
    EXPECT_EQ(g.slotLabels[5], sjis("データ　４"));
    t.player().mouseUp(MouseButton::Left, 600, 300);
    t.player().click(MouseButton::Left, kRowX, rowY(6));
    EXPECT_EQ(g.vars.v(3), -7);
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "SAVE", "LOAD"}));
}

TEST(SlotListSave,
     GivenASaveThatCannotBeWritten_WhenClicked_ThenThePlayerIsToldAndTheHotelMenuOpens) {
    TestGame t(loadStory());
    writeSave(t, 1, Bytes(8256, 0x11));
    Game& g = openByLoadCommand(t);
    reopenList(t, g, true);
    t.player().mouseMove(kRowX, rowY(2));
    {
        const FileSizeLimit full(100);
        t.player().mouseDown(MouseButton::Left, kRowX, rowY(2));
    }
    EXPECT_EQ(readText(t.saveDir() / "save1.cv"), std::string(8256, '\x11'));
    EXPECT_EQ(t.events("msgbox ").size(), 1u);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    // The save set the latch and nothing cleared it: the press does not reach the hotel menu.
    EXPECT_TRUE(g.inputLatch);
}

}  // namespace
}  // namespace corvan::test
