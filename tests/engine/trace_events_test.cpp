// The events the game reports when something fails that the player would only see as a frozen
// or unchanged screen, which corvan --debug prints and corvan-replay logs.

#include "engine/trace_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

// The problem events of a run, in order.
Lines problems(const HeadlessHost& host) {
    Lines out;
    for (const std::string& line : host.events()) {
        if (trace::isProblem(line)) out.push_back(line);
    }
    return out;
}

TEST(TraceEvents, GivenScriptsThatFailSilently_ThenEachFailureIsOneProblemEvent) {
    struct Case {
        const char* name;
        std::vector<ChunkSource> chunks;
        Lines expected;
    };
    const Case cases[] = {
        {"a chain to nothing goes on in the chunk",
         {chunk("main", "*chain nope\n*go nowhere\n")},
         {"chunk-missing nope (by chain from main)", "label-missing nowhere in main",
          "script-stop main"}},
        {"a call to nothing and a message without its chunk",
         {chunk("main", "*call nope\n*mess 1\n")},
         {"chunk-missing nope (by call from main)", "chunk-missing messys (by mess from main)",
          "script-stop main"}},
        {"a missing picture and a called chunk without end",
         {chunk("main", "*gra a009,1\n*call sub\n"), chunk("sub", "*if_on 0 x\n")},
         {"picture-missing GRA/A/A009.PRS", "script-stop sub (a called chunk without end)"}},
        {"a branch whose label is missing",
         {chunk("main", "*calc V001=1\n*if V001=1 gone\n")},
         {"label-missing gone in main", "script-stop main"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame t(c.chunks);
        t.start();
        t.player().run();
        EXPECT_EQ(problems(t.host()), c.expected);
    }
}

TEST(TraceEvents, GivenArchiveCutInItsDirectory_ThenStartUpReportsIt) {
    TestGame t({chunk("main", "こんにちは\n")});
    std::filesystem::resize_file(t.gameDir() / "mg_data.stf", 100);
    t.start();
    EXPECT_EQ(
        problems(t.host()),
        (Lines{"archive-error mg_data.stf is 100 bytes, shorter than its 21000-byte directory",
               "chunk-error main: chunk lies past the end of the archive"}));
}

TEST(TraceEvents, GivenEventNames_ThenOnlyProblemsCountAsProblems) {
    EXPECT_TRUE(trace::isProblem("voice-missing 90022"));
    EXPECT_TRUE(trace::isProblem("script-stop main"));
    EXPECT_FALSE(trace::isProblem("text script-stop"));
    EXPECT_FALSE(trace::isProblem("chunk main"));
    EXPECT_FALSE(trace::isProblem("chunk-missingness"));
}

}  // namespace
}  // namespace corvan::test
