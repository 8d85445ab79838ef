// Keys through the headless player: a held Ctrl reads on by itself, a Ctrl held for a shortcut
// never does, and the keyboard works every screen the mouse works at its first press.

#include <gtest/gtest.h>

#include "support/scenario.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

TEST(HeldCtrl, GivenCtrlHeldAlone_ThenPagesEndByThemselves_ButCtrlSTakesTheScreenOfThisPage) {
    TestGame t({chunk("main", "一。▼\n二。▼\n三。▼\n")});
    startFast(t);
    HeadlessPlayer& p = t.player();
    p.run();
    // Ctrl, then S a moment later: a shortcut, so no page is skipped before the screenshot.
    p.keyDown(Key::Ctrl);
    p.idle(Reader::kSkipDelayCalls - 2);
    p.key(Key::S);
    p.idle(3 * Reader::kSkipDelayCalls);
    p.keyUp(Key::Ctrl);
    EXPECT_EQ(t.events("host-request "), (Lines{"screenshot"}));
    EXPECT_EQ(t.textLines(), (Lines{"一。▼"}));

    // Held alone it skips, once it has been held a moment, up to the end (unread pages too,
    // as the player asked).
    p.setSetting("SkipUnread", "1");
    p.keyDown(Key::Ctrl);
    p.run();
    EXPECT_EQ(t.textLines(), (Lines{"一。▼", "二。▼", "三。▼"}));
}

}  // namespace
}  // namespace corvan::test
