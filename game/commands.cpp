// The script's 24 commands. A command line is `*` and a keyword; its argument starts at the fixed
// byte column that the keyword table gives (engine/command_keywords.h), whatever lies between
// the keyword and that column. The dispatcher hands each handler its argument read from there;
// the handler either lets the step go on with the next line or ends it.

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/ascii.h"
#include "engine/command_keywords.h"
#include "engine/expressions.h"
#include "engine/trace_events.h"
#include "game/game.h"

namespace corvan {

// A command's argument: the line from the column the keyword table gives for the command.
class CommandArgument {
public:
    CommandArgument(const std::uint8_t* line, int column) : line_(line), column_(column) {}

    std::string_view text() const { return textAt(column_); }
    std::int32_t number() const {
        return parseDecimal(line_ + column_, line_ + Game::kLineBufferSize);
    }
    int column() const { return column_; }
    // The line from a column found by reading the argument (a label after it).
    std::string_view textAt(int column) const {
        const auto* start = line_ + column;
        const std::size_t room = static_cast<std::size_t>(Game::kLineBufferSize - column);
        return {reinterpret_cast<const char*>(start), boundedLength(start, room)};
    }
    const std::uint8_t* line() const { return line_; }

private:
    const std::uint8_t* line_;
    int column_;
};

class CommandTable {
public:
    using Step = Game::Step;
    using Argument = CommandArgument;
    using Handler = Step (*)(Game&, const Argument&);

    // Runs the command line in the game's line buffer; `matched` is its keyword, or nullptr for
    // a line the game skips.
    static Step dispatch(Game& game, const CommandKeyword*& matched);

private:
    static Step gra(Game& g, const Argument& arg) {
        g.ShowPicture(arg.text());
        return Step::GoesOn;
    }
    static Step music(Game& g, const Argument& arg) {
        g.PlayMusic(arg.number());
        return Step::GoesOn;
    }
    static Step voice(Game& g, const Argument& arg) {
        g.PlayVoice(arg.text());
        return Step::GoesOn;
    }
    static Step go(Game& g, const Argument& arg) {
        g.caseState = CaseState::None;
        g.GotoLabel(arg.text());
        return Step::GoesOn;
    }
    static Step clrb(Game& g, const Argument&) {
        g.overlayShown = false;
        g.RedrawScreen();
        return Step::GoesOn;
    }
    static Step flagOn(Game& g, const Argument& arg) {
        g.vars.SetFlag(arg.number());
        return Step::GoesOn;
    }
    static Step flagOff(Game& g, const Argument& arg) {
        g.vars.ClearFlag(arg.number());
        return Step::GoesOn;
    }
    static Step select(Game& g, const Argument& arg) {
        g.OpenChoiceMenu(arg.number());
        return Step::Ends;
    }
    static Step chain(Game& g, const Argument& arg) {
        const std::string_view name = arg.text();
        g.chapterName.fill(0);
        std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 8), g.chapterName.begin());
        g.ResetRunState();
        g.LoadChunk(name, trace::kByChain);
        return Step::Ends;
    }
    // `if_on` and `if_off`: the flag number, then one blank somewhere in the next eight columns,
    // then the label. A number too long to leave the blank there never jumps.
    static Step flagJump(Game& g, const Argument& arg, bool wantSet) {
        if (g.vars.TestFlag(arg.number()) != wantSet) return Step::GoesOn;
        const int labelColumn = flagJumpLabelColumn(arg.line(), arg.column());
        if (labelColumn == 0) return Step::GoesOn;
        g.GotoLabel(arg.textAt(labelColumn));
        return Step::Ends;
    }
    static Step ifOn(Game& g, const Argument& arg) { return flagJump(g, arg, true); }
    static Step ifOff(Game& g, const Argument& arg) { return flagJump(g, arg, false); }
    static Step calc(Game& g, const Argument& arg) {
        Calc(g.vars, arg.text());
        return Step::GoesOn;
    }
    static Step ifCondition(Game& g, const Argument& arg) {
        const int labelColumn = EvaluateCondition(g.vars, arg.text());
        if (labelColumn > 0 && labelColumn < Game::kLineBufferSize) {
            g.GotoLabel(arg.textAt(labelColumn));
        }
        return Step::Ends;
    }
    static Step mess(Game& g, const Argument& arg) {
        g.ShowSystemMessage(arg.number());
        return Step::Ends;
    }
    static Step call(Game& g, const Argument& arg) {
        const int length = g.readChunk(arg.text(), trace::kByCall);
        if (length < 0) return Step::GoesOn;
        g.saveCaller();
        g.startChunk(length);
        g.inCall = true;
        return Step::Ends;
    }
    static Step end(Game& g, const Argument&) {
        if (!g.inCall) return Step::GoesOn;
        g.restoreCaller();
        if (g.viewKind == 3) {
            g.ShowPicture("A531,1");
            g.viewFlag = ViewFlag::ViewShown;
        }
        return Step::Ends;
    }
    static Step mode(Game& g, const Argument& arg) {
        g.altTextMode = static_cast<AltTextMode>(arg.number());
        g.frameFont.face = "ＭＳ 明朝";
        g.fetchLine = true;
        return Step::Ends;
    }
    static Step load(Game& g, const Argument&) {
        g.OpenSlotList(false);
        return Step::Ends;
    }
    static Step gameinit(Game& g, const Argument&) {
        g.vars.clearGameVariables();
        g.vars.setV(Variables::kClearMarkValue, g.clearMark);
        return Step::GoesOn;
    }
    static Step grb(Game& g, const Argument& arg) {
        g.overlayDeferred = true;
        g.ShowPicture(arg.text());
        return Step::GoesOn;
    }
    static Step move(Game& g, const Argument&) {
        g.ShowHotelMenu();
        return Step::Ends;
    }
    static Step special(Game& g, const Argument& arg) {
        g.SpecialEffect(arg.text());
        return Step::GoesOn;
    }
    static Step gameclr(Game& g, const Argument&) {
        g.RecordClearedGame();
        return Step::GoesOn;
    }
    static Step view(Game& g, const Argument& arg) {
        g.OpenView(arg.number());
        return Step::Ends;
    }

    // One handler for each keyword of kCommandKeywords, in the order of CommandId.
    static constexpr std::array<Handler, kCommandKeywords.size()> kHandlers{
        gra,   music, voice,    go,   clrb,        flagOn,  flagOff, select,
        chain, ifOn,  ifOff,    calc, ifCondition, mess,    call,    end,
        mode,  load,  gameinit, grb,  move,        special, gameclr, view,
    };
};

CommandTable::Step CommandTable::dispatch(Game& game, const CommandKeyword*& matched) {
    const std::uint8_t* line = game.lineBuffer.data();
    const std::size_t available = boundedLength(line + 1, Game::kLineBufferSize - 1);
    matched = matchCommandKeyword(line + 1, available);
    if (matched == nullptr) return Step::GoesOn;
    return kHandlers[static_cast<std::size_t>(matched->id)](game, Argument(line, matched->column));
}

Game::Step Game::dispatchCommand(const CommandKeyword*& matched) {
    return CommandTable::dispatch(*this, matched);
}

void Game::RecordClearedGame() {
    clearMark = readIntSetting(host_, setting::kClear) != 0 ? 1 : 0;
    clearMark += 1;
    writeIntSetting(host_, setting::kClear, clearMark);
    vars.setV(Variables::kClearMarkValue, clearMark);
    host_.traceEvent("game-clear " + std::to_string(clearMark));
    UpdateSeenRecord();
}

}  // namespace corvan
