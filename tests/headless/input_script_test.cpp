// The headless player's input script.

#include "headless/input_script.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using Kind = InputCommand::Kind;

// The one command of a one-line script; fails the test when it does not parse.
InputCommand only(const std::string& line) {
    std::string error;
    const auto commands = parseInputScript(line + "\n", error);
    EXPECT_TRUE(commands.has_value()) << line << ": " << error;
    if (!commands || commands->size() != 1) {
        ADD_FAILURE() << "expected one command from: " << line;
        return {};
    }
    return commands->front();
}

// The error for a script that must not parse; fails the test when it does parse.
std::string errorOf(const std::string& text) {
    std::string error;
    const auto commands = parseInputScript(text, error);
    EXPECT_FALSE(commands.has_value()) << "parsed: " << text;
    return error;
}

TEST(InputScript, GivenIdle_ThenCountIsRead) {
    const InputCommand cmd = only("idle 25");
    EXPECT_EQ(cmd.kind, Kind::Idle);
    EXPECT_EQ(cmd.count, 25);
    EXPECT_EQ(only("idle 0").count, 0);
    EXPECT_EQ(only("idle 5000000000").count, 5000000000LL);
}

TEST(InputScript, GivenRunAndReadWithAndWithoutLimit_ThenEachHasItsDefault) {
    const InputCommand plain = only("run");
    EXPECT_EQ(plain.kind, Kind::Run);
    EXPECT_EQ(plain.count, 100000);
    const InputCommand limited = only("run 42");
    EXPECT_EQ(limited.kind, Kind::Run);
    EXPECT_EQ(limited.count, 42);
    const InputCommand read = only("read");
    EXPECT_EQ(read.kind, Kind::Read);
    EXPECT_EQ(read.count, 1000);
    EXPECT_EQ(only("read 3").count, 3);
    EXPECT_NE(errorOf("read 1 2\n").find("usage: read [MAX]"), std::string::npos);
}

TEST(InputScript, GivenPointerCommands_ThenKindAndPointAreRead) {
    const InputCommand move = only("move 10 20");
    EXPECT_EQ(move.kind, Kind::Move);
    EXPECT_EQ(move.x, 10);
    EXPECT_EQ(move.y, 20);
    const InputCommand click = only("click 639 479");
    EXPECT_EQ(click.kind, Kind::Click);
    EXPECT_EQ(click.x, 639);
    EXPECT_EQ(click.y, 479);
    const InputCommand rclick = only("rclick 0 0");
    EXPECT_EQ(rclick.kind, Kind::RightClick);
    EXPECT_EQ(rclick.x, 0);
    EXPECT_EQ(rclick.y, 0);
    // Points off the window are passed on as they are.
    const InputCommand outside = only("move -5 700");
    EXPECT_EQ(outside.x, -5);
    EXPECT_EQ(outside.y, 700);
}

TEST(InputScript, GivenDownAndUp_ThenButtonAndPointAreRead) {
    const InputCommand down = only("down L 1 2");
    EXPECT_EQ(down.kind, Kind::Down);
    EXPECT_EQ(down.button, MouseButton::Left);
    EXPECT_EQ(down.x, 1);
    EXPECT_EQ(down.y, 2);
    const InputCommand up = only("up R 3 4");
    EXPECT_EQ(up.kind, Kind::Up);
    EXPECT_EQ(up.button, MouseButton::Right);
    EXPECT_EQ(up.x, 3);
    EXPECT_EQ(up.y, 4);
    EXPECT_EQ(only("down M 5 6").button, MouseButton::Middle);
    EXPECT_EQ(only("up M 5 6").button, MouseButton::Middle);
}

TEST(InputScript, GivenStateAndShot_ThenTheFileNameIsTheRestOfTheLine) {
    const InputCommand state = only("state out/state 1.json");
    EXPECT_EQ(state.kind, Kind::State);
    EXPECT_EQ(state.text, "out/state 1.json");
    const InputCommand shot = only("shot  screen.png  ");
    EXPECT_EQ(shot.kind, Kind::Shot);
    EXPECT_EQ(shot.text, "screen.png");
}

TEST(InputScript, GivenAnswer_ThenOkOrCancelIsRead) {
    const InputCommand ok = only("answer ok");
    EXPECT_EQ(ok.kind, Kind::Answer);
    EXPECT_TRUE(ok.ok);
    const InputCommand cancel = only("answer cancel");
    EXPECT_EQ(cancel.kind, Kind::Answer);
    EXPECT_FALSE(cancel.ok);
}

TEST(InputScript, GivenPick_ThenPathOrCancelIsRead) {
    const InputCommand pick = only("pick /media/cd drive/mg_data.stf");
    EXPECT_EQ(pick.kind, Kind::Pick);
    EXPECT_TRUE(pick.ok);
    EXPECT_EQ(pick.text, "/media/cd drive/mg_data.stf");
    const InputCommand cancel = only("pick cancel");
    EXPECT_EQ(cancel.kind, Kind::Pick);
    EXPECT_FALSE(cancel.ok);
}

TEST(InputScript, GivenSet_ThenNameAndValueAreRead) {
    const InputCommand set = only("set Delay 1");
    EXPECT_EQ(set.kind, Kind::Set);
    EXPECT_EQ(set.text, "Delay");
    EXPECT_EQ(set.value, "1");
    const InputCommand path = only("set GameDir /media/my cd");
    EXPECT_EQ(path.text, "GameDir");
    EXPECT_EQ(path.value, "/media/my cd");
}

TEST(InputScript, GivenChooseAndPlace_ThenRowAndPlateNameAreRead) {
    const InputCommand row = only("choose 3");
    EXPECT_EQ(row.kind, Kind::Choose);
    EXPECT_EQ(row.count, 3);
    const InputCommand place = only("place エレベーター");
    EXPECT_EQ(place.kind, Kind::Place);
    EXPECT_EQ(place.text, "エレベーター");
}

TEST(InputScript, GivenCommentsBlankLinesAndCrlf_ThenOnlyCommandsAreKeptWithTheirLineNumbers) {
    std::string error;
    const auto commands = parseInputScript(
        "# start the game\n"
        "\n"
        "run\r\n"
        "   \n"
        "\t\n"
        "#click 1 2\n"
        "click 320 240\r\n"
        "idle 3",  // no line end after the last line
        error);
    ASSERT_TRUE(commands.has_value()) << error;
    ASSERT_EQ(commands->size(), 3u);
    EXPECT_EQ((*commands)[0].kind, Kind::Run);
    EXPECT_EQ((*commands)[0].line, 3);
    EXPECT_EQ((*commands)[1].kind, Kind::Click);
    EXPECT_EQ((*commands)[1].line, 7);
    EXPECT_EQ((*commands)[1].y, 240);
    EXPECT_EQ((*commands)[2].kind, Kind::Idle);
    EXPECT_EQ((*commands)[2].line, 8);
    EXPECT_EQ((*commands)[2].count, 3);
}

TEST(InputScript, GivenEmptyScript_ThenNoCommands) {
    std::string error;
    const auto commands = parseInputScript("", error);
    ASSERT_TRUE(commands.has_value());
    EXPECT_TRUE(commands->empty());
    const auto onlyComments = parseInputScript("# nothing\n\n", error);
    ASSERT_TRUE(onlyComments.has_value());
    EXPECT_TRUE(onlyComments->empty());
    // Other blanks that part words, and a line end of CR CR LF.
    const auto otherBlanks = parseInputScript("\v\n\f \n\r\r\n", error);
    ASSERT_TRUE(otherBlanks.has_value()) << error;
    EXPECT_TRUE(otherBlanks->empty());
}

TEST(InputScript, GivenUnknownCommand_ThenErrorNamesItsLine) {
    const std::string error = errorOf("run\n# comment\n\njump 3\nrun\n");
    EXPECT_EQ(error.rfind("line 4:", 0), 0u) << error;
    EXPECT_NE(error.find("jump"), std::string::npos) << error;
}

TEST(InputScript, GivenBadArguments_ThenEachIsRefusedNamingItsLine) {
    const std::vector<std::string> bad = {
        "idle",
        "idle x",
        "idle -1",
        "idle 1 2",
        "idle 1.5",
        "run x",
        "run -3",
        "run 1 2",
        "move 1",
        "move 1 2 3",
        "move x 2",
        "click 1 y",
        "click",
        "rclick 1",
        "rclick 1 2.0",
        "down L 1",
        "down Q 1 2",
        "down l 1 2",
        "up 1 2",
        "up R 1 y",
        "state",
        "shot",
        "answer",
        "answer yes",
        "answer ok now",
        "pick",
        "set",
        "set Delay",
        "move 99999999999 0",
        "choose",
        "choose 0",
        "choose x",
        "choose 1 2",
        "place",
    };
    for (const std::string& line : bad) {
        const std::string error = errorOf("run\n\n" + line + "\n");
        EXPECT_EQ(error.rfind("line 3:", 0), 0u) << line << " -> " << error;
    }
}

TEST(InputScript, GivenErrorLateInScript_ThenNothingIsReturnedForTheGoodLines) {
    std::string error;
    const auto commands = parseInputScript("run\nclick 1 2\nidle\n", error);
    EXPECT_FALSE(commands.has_value());
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
}

}  // namespace
}  // namespace corvan
