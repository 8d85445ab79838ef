// The reader's comforts through the headless player, with keys as a player presses them: the
// backlog, auto-advance, skipping what was read in an earlier game, and hiding the frame. None
// of them may change the game a player sees once they are put away.

#include <gtest/gtest.h>

#include "engine/cp932.h"
#include "headless/state_json.h"
#include "settings/setting_names.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

// Five pages, the first with a voice of three seconds.
const std::vector<ChunkSource> kFivePages = {
    chunk("main",
          "[voice 10001]一頁目、声のある頁。▼\n二頁目の文。▼\n三頁目の文。\n続きの行。▼\n"
          "四頁目の文。▼\n五頁目の文。▼\n")};

// A wave file of `milliseconds` of silence at 8000 bytes a second.
std::vector<std::uint8_t> silentWave(std::uint32_t milliseconds) {
    const std::uint32_t data = milliseconds * 8;
    std::vector<std::uint8_t> bytes;
    auto text = [&](const char* t) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(t[i]));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    text("RIFF");
    u32(36 + data);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    text("data");
    u32(data);
    bytes.resize(bytes.size() + data, 0x80);
    return bytes;
}

bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y) {
        if (!std::equal(a.row(y), a.row(y) + a.width() * 3, b.row(y))) return false;
    }
    return true;
}

TEST(Backlog, GivenTheThirdPage_WhenOpenedAndClosed_ThenTheScreenAndStateAreAsTheyWere) {
    TestGame t(kFivePages);
    t.start();
    HeadlessPlayer& p = t.player();
    p.readOn(2);
    ASSERT_EQ(t.textLines().back(), "続きの行。▼");
    const Bitmap before = p.reader().picture();
    const std::string state = stateJson(t.game());

    p.key(Key::PageUp);
    ASSERT_TRUE(p.reader().backlogOpen());
    EXPECT_FALSE(samePixels(p.reader().picture(), before));
    p.key(Key::PageUp);  // a page back, and on again
    p.key(Key::Down);
    p.key(Key::Escape);
    EXPECT_FALSE(p.reader().backlogOpen());
    EXPECT_TRUE(samePixels(p.reader().picture(), before));
    EXPECT_EQ(stateJson(t.game()), state);

    // The system menu clears the frame when it closes; the backlog still has the page.
    p.click(MouseButton::Right, 100, 100);
    p.click(MouseButton::Right, 100, 100);
    p.key(Key::WheelUp);
    const Page& last = p.reader().pages().pages().back();
    EXPECT_EQ(last.rows, (Lines{*utf8ToCp932("三頁目の文。"), *utf8ToCp932("続きの行。")}));
    EXPECT_EQ(p.reader().pages().pages().size(), 3U);
    // While it is open the story waits; the wheel turned on past the last page closes it.
    p.idle(50);
    EXPECT_EQ(t.textLines().size(), 4U);
    p.key(Key::WheelDown);
    EXPECT_FALSE(p.reader().backlogOpen());
}

TEST(AutoAdvance, GivenAToggledA_ThenPagesTurnByThemselvesButNeverOverTheVoice) {
    TestGame t(kFivePages);
    writeBytes(t.gameDir() / "wave/1/10001.wav", silentWave(3000));
    t.start();
    HeadlessPlayer& p = t.player();
    p.run();
    p.key(Key::A);
    EXPECT_TRUE(p.reader().autoAdvancing());
    // The page's own pause is under two seconds, but its voice speaks for three.
    p.run(120);
    EXPECT_EQ(t.textLines().size(), 1U);
    p.run(600);
    EXPECT_GE(t.textLines().size(), 4U);  // the third page, and no click
    // A click stops it.
    p.click(MouseButton::Left, 320, 240);
    EXPECT_FALSE(p.reader().autoAdvancing());
}

TEST(SkipRead, GivenPagesReadInAnEarlierGame_ThenCtrlSkipsThemAndStopsAtTheFirstUnread) {
    TestGame first(kFivePages);
    first.start();
    first.player().readOn(2);  // pages one and two read, the third shown whole
    // ゲーム終了 from the system menu: the game ends, and what was read is kept.
    first.player().click(MouseButton::Right, 100, 100);
    first.player().click(MouseButton::Left, 100, 54);
    first.player().run();
    ASSERT_TRUE(first.player().closed());

    HeadlessPlayer second;
    second.host().setSettingFallback(setting::kSaveDir, first.saveDir().string());
    second.host().setSettingFallback(setting::kGameDir, first.gameDir().string());
    second.start();
    second.keyDown(Key::Ctrl);
    const std::int64_t calls = second.run();
    Lines shown;
    for (const std::string& e : second.host().events()) {
        if (e.starts_with("text ")) shown.push_back(e.substr(5));
    }
    EXPECT_EQ(shown.back(), "四頁目の文。▼");  // the first page not read before
    EXPECT_EQ(second.game().waitKind, WaitKind::Page);
    // Each page read before appeared whole at once: far fewer calls than typing them.
    EXPECT_LT(calls, 40);
    second.keyUp(Key::Ctrl);
}

TEST(HiddenFrame, GivenH_ThenThePictureShowsWithoutTheFrameAndAClickBringsItBackOnly) {
    TestGame t(kFivePages);
    t.start();
    HeadlessPlayer& p = t.player();
    p.run();
    const Bitmap before = p.reader().picture();
    p.key(Key::H);
    EXPECT_TRUE(p.reader().frameHidden());
    EXPECT_TRUE(samePixels(p.reader().picture(), t.game().layers.composite));
    EXPECT_FALSE(samePixels(p.reader().picture(), before));
    p.click(MouseButton::Left, 320, 240);
    EXPECT_FALSE(p.reader().frameHidden());
    EXPECT_TRUE(samePixels(p.reader().picture(), before));
    p.run();
    EXPECT_EQ(t.textLines().size(), 1U);  // the click did not read on
    EXPECT_EQ(t.game().waitKind, WaitKind::Page);
}

}  // namespace
}  // namespace corvan::test
