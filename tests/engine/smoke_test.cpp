#include <gtest/gtest.h>

#include "support/test_game.h"

namespace corvan::test {
namespace {

TEST(Smoke, MainRunsToItsFirstPageWait) {
    TestGame t({chunk("main", "こんにちは\n▼\n")});
    t.start();
    t.player().run();
    EXPECT_EQ(t.game().waitKind, WaitKind::Page);
    EXPECT_EQ(t.textLines(), (std::vector<std::string>{"こんにちは", "▼"}));
}

}  // namespace
}  // namespace corvan::test
