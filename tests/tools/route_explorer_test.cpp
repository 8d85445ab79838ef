// corvan-explore's search on small games made in code: where each route ends and by which
// choices, what no route reaches, and the program's exit status and JSON.

#include "authoring/route_explorer.h"

#include <gtest/gtest.h>

#include "headless/json_checker.h"
#include "support/generated_story.h"
#include "support/run_program.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// "KIND WHERE: option > option" for each route end, the options being the rows picked.
Lines routeEnds(const std::vector<RouteEnd>& ends) {
    Lines out;
    for (const RouteEnd& end : ends) {
        std::string line = end.kind + " " + end.where + ":";
        for (const RouteStep& step : end.path) line += " " + std::to_string(step.option);
        out.push_back(line);
    }
    return out;
}

Lines unreached(const std::vector<Unreached>& list) {
    Lines out;
    for (const Unreached& u : list) out.push_back(u.chunk + (u.label.empty() ? "" : ":" + u.label));
    return out;
}

// Three branches: a cleared game, a story that ends in another chunk, a chain to nothing.
const std::vector<ChunkSource> kBranches = {
    chunk("main",
          "始まり。▼\n*select 3\n晴れ\n雨\n雪\n:CASE1\n晴れた。▼\n*gameclr\n終わり。▼\n"
          ":CASE2\n*chain rain\n:CASE3\n*chain snow\n:end\n"),
    chunk("rain", "雨だった。▼\n*go out\n:never\n来ない。\n:out\n"),
    chunk("orphan", "誰も来ない。\n"),
};

TEST(RouteExplorer, GivenSmallGames_ThenEveryRouteEndIsFoundWithItsShortestChoices) {
    struct Case {
        const char* name;
        std::vector<ChunkSource> chunks;
        Lines endings, stuck, loops, unreached;
        Lines deadEnds = {}, problems = {};
    };
    // clang-format off
    const Case cases[] = {
        {"endings and a chain to nothing", kBranches, {"game-clear main:8: 1", "story-end rain:5: 2"},
         {"chunk-missing main:13: 3"}, {}, {"rain:never", "orphan"}, {},
         {"chunk-missing main:13: 3"}},
        // The second row can never come back to an ending; the jump to a missing label is
        // named where it is, though the route goes on.
        {"a dead end and a missing label",
         {chunk("main", "*select 2\n行く\n迷う\n:CASE1\n*go nowhere\n着いた。▼\n*gameclr\n"
                        ":CASE2\n*go lost\n:end\n:lost\n森の中。▼\n*select 2\n右\n左\n"
                        ":CASE1\n*go lost\n:CASE2\n*go lost\n:end\n")},
         {"game-clear main:7: 1"}, {}, {"loop main:13: 2"}, {"main:end", "main:end"}, {},
         {"label-missing main:5: 1"}},
        {"a way out that only leads to a stuck route",
         {chunk("main", "*select 2\n行く\n迷う\n:CASE1\n*gameclr\n:CASE2\n*select 1\n"
                        "進む\n:CASE1\n*chain none\n:end\n")},
         {"game-clear main:5: 1"}, {"chunk-missing main:10: 2 1"}, {}, {}, {"dead-end main:7: 2"},
         {"chunk-missing main:10: 2 1"}},
        // Both rows lead back to the same menu with the same variables: one state, no way out.
        {"choices that only go round",
         {chunk("main", ":top\nどちらへ？▼\n*select 2\n左\n右\n:CASE1\n*go top\n:CASE2\n"
                        "*calc V001=0\n*go top\n:end\n")},
         {}, {}, {"loop main:3:"}, {"main:end"}},
        {"pages that go round", {chunk("main", ":a\n同じ頁。▼\n*go a\n")}, {}, {},
         {"loop main:2:"}, {}},
        // The choice inside the called chunk reads no flag, but the caller does after the
        // return: the two states there must stay apart.
        {"a flag read after a call returns",
         {chunk("main", "*select 2\n甲\n乙\n:CASE1\n*flag_on 5\n:CASE2\n:end\n*call sub\n"
                        "*if_on 5 yes\n*gameclr\n:yes\n二つ目の終わり。▼\n"),
          chunk("sub", "中の頁。▼\n*select 2\n右\n左\n:CASE1\n:CASE2\n:end\n*end\n")},
         {"story-end main:12: 1 1", "game-clear main:10: 2 1"}, {}, {}, {}},
        {"a loop that shows nothing", {chunk("main", ":a\n*go a\n")}, {},
         {"script-loop main:1:"}, {}, {}, {}, {"script-loop main:1:"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir game;
        writeArchive(game.path() / "mg_data.stf", c.chunks);
        ExploreReport report;
        std::string error;
        ASSERT_TRUE(exploreRoutes(game.path(), {}, report, error)) << error;
        EXPECT_EQ(routeEnds(report.endings), c.endings);
        EXPECT_EQ(routeEnds(report.stuck), c.stuck);
        EXPECT_EQ(routeEnds(report.loops), c.loops);
        EXPECT_EQ(unreached(report.unreached), c.unreached);
        EXPECT_EQ(routeEnds(report.deadEnds), c.deadEnds);
        EXPECT_EQ(routeEnds(report.problems), c.problems);
        EXPECT_TRUE(report.complete) << report.limitHit;
        EXPECT_TRUE(report.cutoffs.empty());
    }
}

// Stories of full shape at a size ctest can afford (bench/explore_bench.cpp runs them at full
// size): the walk finishes, finds every ending the story has and nothing else.
TEST(RouteExplorer, GivenGeneratedStories_ThenTheWalkIsCompleteAndFindsEveryEnding) {
    struct Case {
        const char* name;
        GeneratedStory story;
        int maxStates;  // what merging on the variables still read keeps the walk within
    };
    const Case cases[] = {
        {"40 chunks of 20-50 lines and 1-3 menus", generateStory(40), 400},
        // Without merging, 2^20 routes; only the first flag is ever read.
        {"20 two-way choices, each setting a flag", generateFlagStory(20), 41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir game;
        std::string error;
        ASSERT_TRUE(writeStoryGame(c.story, game.path(), error)) << error;
        ExploreReport report;
        ASSERT_TRUE(exploreRoutes(game.path(), {}, report, error)) << error;
        std::set<std::string> endings;
        for (const RouteEnd& end : report.endings) endings.insert(end.kind + " at " + end.where);
        EXPECT_EQ(endings, c.story.endings);
        EXPECT_TRUE(report.complete) << report.limitHit;
        EXPECT_TRUE(report.stuck.empty() && report.loops.empty() && report.deadEnds.empty() &&
                    report.problems.empty() && report.cutoffs.empty());
        EXPECT_GE(report.states, c.story.choiceMenus);
        EXPECT_LE(report.states, c.maxStates);
    }
}

TEST(RouteExplorer, GivenLimits_ThenWhatTheyCutIsACutoffAndNeverAnEnding) {
    TempDir game;
    writeArchive(game.path() / "mg_data.stf", kBranches);
    struct Case {
        ExploreOptions options;
        const char* limit;
    };
    const Case cases[] = {{{.maxChoices = 0}, "--max-choices 0"},
                          {{.maxStates = 0}, "--max-states 0"},
                          {{.maxClicks = 0}, "--max-clicks 0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        ExploreReport report;
        std::string error;
        ASSERT_TRUE(exploreRoutes(game.path(), c.options, report, error)) << error;
        EXPECT_FALSE(report.complete);
        EXPECT_EQ(report.limitHit, c.limit);
        EXPECT_TRUE(report.endings.empty());
        ASSERT_FALSE(report.cutoffs.empty());
        EXPECT_EQ(report.cutoffs[0].detail, c.limit);
    }
    const ProgramRun run = runProgram(std::string(CORVAN_TOOLS_DIR) + "/corvan-explore",
                                      game.path(), {"--max-choices", "0", game.path().string()});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_NE(run.out.find("cut short by --max-choices 0"), std::string::npos) << run.out;
}

TEST(CorvanExplore, GivenStuckRoute_ThenJsonListsItAndTheExitStatusIsOne) {
    TempDir game;
    writeArchive(game.path() / "mg_data.stf", kBranches);
    const fs::path dot = game.path() / "routes.dot";
    const ProgramRun run =
        runProgram(std::string(CORVAN_TOOLS_DIR) + "/corvan-explore", game.path(),
                   {"--json", "--dot", dot.string(), game.path().string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.err, "") << "--json says nothing on standard error";
    std::string error;
    const auto json = JsonReader::parse(run.out, error);
    ASSERT_TRUE(json.has_value()) << error << "\n" << run.out;
    ASSERT_EQ((*json)["endings"].items.size(), 2u);
    const JsonValue& stuck = (*json)["stuck"].items.at(0);
    EXPECT_EQ(stuck["kind"].text, "chunk-missing");
    EXPECT_EQ(stuck["path"].items.at(0)["text"].text, "雪");
    EXPECT_EQ((*json)["unreached"].items.size(), 2u);
    const std::string graph = readText(dot);
    EXPECT_EQ(graph.rfind("digraph routes {", 0), 0u) << graph;
    EXPECT_NE(graph.find("n0 -> t2 [label=\"3 雪\"]"), std::string::npos) << graph;
}

TEST(CorvanExplore, GivenACountThatIsNoFiniteWholeNumberThatFits_ThenItSaysSoWithStatusTwo) {
    TempDir game;
    writeArchive(game.path() / "mg_data.stf", kBranches);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--max-choices", "1e30"}, {"--max-states", "inf"},    {"--max-clicks", "nan"},
        {"--max-clicks", "2.5"},   {"--max-states", "-1"},     {"--max-choices", "2147483648"},
        {"--max-seconds", "inf"},  {"--max-seconds", "1e999"}, {"--max-clicks", "12abc"},
    };
    for (const auto& [option, value] : cases) {
        SCOPED_TRACE(option + " " + value);
        const ProgramRun run = runProgram(std::string(CORVAN_TOOLS_DIR) + "/corvan-explore",
                                          game.path(), {option, value, game.path().string()});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("corvan-explore: " + option + " needs a", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(", not " + value + "\n"), std::string::npos) << run.err;
    }
    const ProgramRun fits =
        runProgram(std::string(CORVAN_TOOLS_DIR) + "/corvan-explore", game.path(),
                   {"--max-choices", "2147483647", "--max-seconds", "1e300", "--max-states", "1e3",
                    game.path().string()});
    EXPECT_EQ(fits.exitCode, 1) << fits.err;  // the route that gets stuck
}

}  // namespace
}  // namespace corvan::test
