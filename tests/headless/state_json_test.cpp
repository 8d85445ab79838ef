// The game's state as JSON, as corvan-replay writes it.

#include "headless/state_json.h"

#include <gtest/gtest.h>

#include <climits>

#include "headless/json_checker.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using Type = JsonValue::Type;

JsonValue parsed(const Game& game) {
    const std::string text = stateJson(game);
    std::string error;
    auto value = JsonReader::parse(text, error);
    EXPECT_TRUE(value.has_value()) << error << "\n" << text;
    return value.value_or(JsonValue{});
}

TEST(StateJson, GivenGameNotStarted_ThenEveryKeyIsThereInValidJson) {
    HeadlessHost host;
    Game game(host, GameOptions{});
    const JsonValue json = parsed(game);
    ASSERT_EQ(json.type, Type::Object);
    for (const std::string& key : stateJsonKeys()) EXPECT_TRUE(json.has(key)) << key;
    EXPECT_EQ(json["chunk"].type, Type::String);
    EXPECT_EQ(json["chunk"].text, "");
    EXPECT_EQ(json["chapterName"].text, "");
    EXPECT_EQ(json["flags"].type, Type::Array);
    EXPECT_TRUE(json["flags"].items.empty());
    EXPECT_EQ(json["V"].type, Type::Object);
    EXPECT_TRUE(json["V"].members.empty());
    EXPECT_EQ(json["S"].type, Type::Object);
    EXPECT_EQ(json["E"].type, Type::Object);
    EXPECT_EQ(json["aMarks"].type, Type::Array);
    EXPECT_EQ(json["bMarks"].type, Type::Array);
}

TEST(StateJson, GivenGameAtPageWait_ThenRunStateFieldsMatchTheGame) {
    TestGame t({chunk("main", "一行目\n▼\n二行目\n")});
    t.start();
    t.player().run();
    const Game& g = t.game();
    ASSERT_EQ(g.waitKind, WaitKind::Page);
    const JsonValue json = parsed(g);
    EXPECT_EQ(json["chunk"].text, "main");
    EXPECT_EQ(json["chapterName"].text, "main");
    EXPECT_EQ(json["scriptPos"].number, g.scriptPos);
    EXPECT_EQ(json["scriptLength"].number, g.scriptLength);
    EXPECT_EQ(json["waitKind"].number, 1);
    EXPECT_EQ(json["menuKind"].number, 0);
    EXPECT_EQ(json["textDelay"].number, g.textDelay);
    EXPECT_EQ(json["textLine"].number, g.textLine);
    EXPECT_EQ(json["tickCount"].number, g.tickCount);
    EXPECT_EQ(json["idleCalls"].number, static_cast<double>(g.idleCalls));
    // Booleans are JSON booleans, not numbers.
    for (const char* key : {"scriptRunning", "fetchLine", "inCall", "inMessage", "frameOpen",
                            "overlayShown", "overlayDeferred", "quitRequested"}) {
        EXPECT_EQ(json[key].type, Type::Bool) << key;
    }
    EXPECT_TRUE(json["scriptRunning"].boolean);
    EXPECT_FALSE(json["inCall"].boolean);
    EXPECT_FALSE(json["quitRequested"].boolean);
}

TEST(StateJson, GivenScriptThatSetsVariables_ThenOnlyNonZeroValuesAreListedByNumber) {
    TestGame t({chunk("main",
                      "*calc V010=5\n"
                      "*calc V011=0\n"
                      "*calc V999=-3\n"
                      "*calc S000=7\n"
                      "*calc S999=-2000000000\n"
                      "*calc E003=200\n"
                      "*calc E255=127\n"
                      "テスト\n"
                      "▼\n")});
    t.start();
    t.player().run();
    const JsonValue json = parsed(t.game());
    EXPECT_EQ(json["V"].integerMembers(),
              (std::map<std::string, std::int64_t>{{"10", 5}, {"999", -3}}));
    EXPECT_EQ(json["S"].integerMembers(),
              (std::map<std::string, std::int64_t>{{"0", 7}, {"999", -2000000000}}));
    // E values are signed bytes: 200 reads back as -56.
    EXPECT_EQ(json["E"].integerMembers(),
              (std::map<std::string, std::int64_t>{{"255", 127}, {"3", -56}}));
}

TEST(StateJson, GivenExtremeValues_ThenTheyAreWrittenExactly) {
    HeadlessHost host;
    Game game(host, GameOptions{});
    game.vars.setV(0, INT32_MIN);
    game.vars.setV(1, INT32_MAX);
    game.vars.setE(0, -128);
    const JsonValue json = parsed(game);
    EXPECT_EQ(json["V"].integerMembers(),
              (std::map<std::string, std::int64_t>{{"0", INT32_MIN}, {"1", INT32_MAX}}));
    EXPECT_EQ(json["E"].integerMembers(), (std::map<std::string, std::int64_t>{{"0", -128}}));
}

TEST(StateJson, GivenFlagsSetOutOfOrder_ThenTheyAreListedSorted) {
    TestGame t({chunk("main",
                      "*flag_on 900\n"
                      "*flag_on 3\n"
                      "*flag_on 1023\n"
                      "*flag_on 0\n"
                      "*flag_on 17\n"
                      "*flag_off 17\n"
                      "テスト\n"
                      "▼\n")});
    t.start();
    t.player().run();
    EXPECT_EQ(parsed(t.game())["flags"].integers(), (std::vector<std::int64_t>{0, 3, 900, 1023}));
}

TEST(StateJson, GivenBitsInTheUpperHalfOfTheFlagArray_ThenTheyAreListedToo) {
    // No flag command reaches bytes 128-255, but a loaded save may set them.
    HeadlessHost host;
    Game game(host, GameOptions{});
    game.vars.flagBytes()[255] = 0x80;  // flag 2047
    game.vars.flagBytes()[128] = 0x01;  // flag 1024
    game.vars.flagBytes()[0] = 0x02;    // flag 1
    EXPECT_EQ(parsed(game)["flags"].integers(), (std::vector<std::int64_t>{1, 1024, 2047}));
}

TEST(StateJson, GivenPictureMarks_ThenSetOnesAreListedSorted) {
    HeadlessHost host;
    Game game(host, GameOptions{});
    game.aMarks[200] = 1;
    game.aMarks[0] = 1;
    game.aMarks[7] = 2;
    game.bMarks[255] = 1;
    const JsonValue json = parsed(game);
    EXPECT_EQ(json["aMarks"].integers(), (std::vector<std::int64_t>{0, 7, 200}));
    EXPECT_EQ(json["bMarks"].integers(), (std::vector<std::int64_t>{255}));
}

TEST(StateJson, GivenChainToAnEightByteName_ThenChapterNameHasExactlyThoseBytes) {
    TestGame t({chunk("main", "*chain chapter8\n"), chunk("chapter8", "第二章\n▼\n")});
    t.start();
    t.player().run();
    const JsonValue json = parsed(t.game());
    EXPECT_EQ(json["chunk"].text, "chapter8");
    EXPECT_EQ(json["chapterName"].text, "chapter8");
}

TEST(StateJson, GivenCalledChunk_ThenChunkIsTheCalleeAndChapterStaysTheCaller) {
    TestGame t({chunk("main", "*call sub\n後\n▼\n"), chunk("sub", "サブ\n▼\n*end\n")});
    t.start();
    t.player().run();
    const JsonValue json = parsed(t.game());
    EXPECT_EQ(json["chunk"].text, "sub");
    EXPECT_EQ(json["chapterName"].text, "main");
    EXPECT_TRUE(json["inCall"].boolean);
}

TEST(StateJson, GivenNamesWithQuotesAndControlBytes_ThenTheyAreEscaped) {
    HeadlessHost host;
    Game game(host, GameOptions{});
    game.lastChunk = "a\"b\\c\x01";
    game.chapterName = {'x', '\t', 'y', '\n', 0, 0, 0, 0};
    const JsonValue json = parsed(game);
    EXPECT_EQ(json["chunk"].text, "a\"b\\c\x01");
    EXPECT_EQ(json["chapterName"].text, "x\ty\n");
}

TEST(StateJson, GivenTextWithSpecialCharacters_WhenQuoted_ThenItReadsBackTheSame) {
    const std::string samples[] = {
        "",
        "plain",
        "quote \" backslash \\ slash /",
        "line\nbreak\r\ttab",
        std::string("nul\0inside", 10),
        "\x01\x1f\x7f",
        "日本語 ▼ ①",
    };
    for (const std::string& sample : samples) {
        const std::string literal = jsonString(sample);
        std::string error;
        const auto value = JsonReader::parse(literal, error);
        ASSERT_TRUE(value.has_value()) << literal << ": " << error;
        EXPECT_EQ(value->type, Type::String);
        EXPECT_EQ(value->text, sample) << literal;
    }
    EXPECT_EQ(jsonString("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(jsonString("\x01"), "\"\\u0001\"");
}

TEST(JsonChecker, GivenBrokenJson_ThenTheCheckerRefusesIt) {
    // The checker the state tests rely on must itself tell good from bad.
    for (const char* bad : {"{", "{\"a\": 1,}", "{\"a\" 1}", "[1 2]", "{\"a\": tru}",
                            "{\"a\": \"x\ny\"}", "{} {}", "{\"a\": 01}", "{\"a\":1,\"a\":2}"}) {
        std::string error;
        EXPECT_FALSE(JsonReader::parse(bad, error).has_value()) << bad;
    }
    std::string error;
    EXPECT_TRUE(JsonReader::parse(" {\"a\": [1, -2.5e3, true, null, \"\\u00e9\"]} ", error))
        << error;
}

}  // namespace
}  // namespace corvan::test
