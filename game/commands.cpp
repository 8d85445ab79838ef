// The script's 24 commands. A command line is `*` and a keyword; each handler reads its argument
// at a fixed byte column of the line, whatever lies between the keyword and that column, and
// either lets the step go on with the next line or ends it.

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/ascii.h"
#include "engine/command_keywords.h"
#include "engine/expressions.h"
#include "engine/trace_events.h"
#include "game/game.h"

namespace corvan {

class CommandTable {
public:
    using Step = Game::Step;
    using Handler = Step (*)(Game&, const std::uint8_t* line);

    static Step dispatch(Game& game);

private:
    static std::string_view text(const std::uint8_t* line, int column) {
        const auto* start = line + column;
        const std::size_t room = static_cast<std::size_t>(Game::kLineBufferSize - column);
        return {reinterpret_cast<const char*>(start), boundedLength(start, room)};
    }
    static std::int32_t number(const std::uint8_t* line, int column) {
        return parseDecimal(line + column, line + Game::kLineBufferSize);
    }

    static Step gra(Game& g, const std::uint8_t* line) {
        g.ShowPicture(text(line, 5));
        return Step::GoesOn;
    }
    static Step music(Game& g, const std::uint8_t* line) {
        g.PlayMusic(number(line, 7));
        return Step::GoesOn;
    }
    static Step voice(Game& g, const std::uint8_t* line) {
        g.PlayVoice(text(line, 7));
        return Step::GoesOn;
    }
    static Step go(Game& g, const std::uint8_t* line) {
        g.caseState = CaseState::None;
        g.GotoLabel(text(line, 4));
        return Step::GoesOn;
    }
    static Step clrb(Game& g, const std::uint8_t*) {
        g.overlayShown = false;
        g.RedrawScreen();
        return Step::GoesOn;
    }
    static Step flagOn(Game& g, const std::uint8_t* line) {
        g.vars.SetFlag(number(line, 9));
        return Step::GoesOn;
    }
    static Step flagOff(Game& g, const std::uint8_t* line) {
        g.vars.ClearFlag(number(line, 10));
        return Step::GoesOn;
    }
    static Step select(Game& g, const std::uint8_t* line) {
        g.OpenChoiceMenu(number(line, 8));
        return Step::Ends;
    }
    static Step chain(Game& g, const std::uint8_t* line) {
        const std::string_view name = text(line, 7);
        g.chapterName.fill(0);
        std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 8), g.chapterName.begin());
        g.ResetRunState();
        g.LoadChunk(name, trace::kByChain);
        return Step::Ends;
    }
    // `if_on` and `if_off`: the number at `column`, then one blank somewhere in the next eight
    // columns, then the label. A number too long to leave the blank there never jumps.
    static Step flagJump(Game& g, const std::uint8_t* line, int column, bool wantSet) {
        if (g.vars.TestFlag(number(line, column)) != wantSet) return Step::GoesOn;
        const int labelColumn = flagJumpLabelColumn(line, column);
        if (labelColumn == 0) return Step::GoesOn;
        g.GotoLabel(text(line, labelColumn));
        return Step::Ends;
    }
    static Step ifOn(Game& g, const std::uint8_t* line) { return flagJump(g, line, 7, true); }
    static Step ifOff(Game& g, const std::uint8_t* line) { return flagJump(g, line, 8, false); }
    static Step calc(Game& g, const std::uint8_t* line) {
        Calc(g.vars, text(line, 6));
        return Step::GoesOn;
    }
    static Step ifCondition(Game& g, const std::uint8_t* line) {
        const int labelColumn = EvaluateCondition(g.vars, text(line, 4));
        if (labelColumn > 0 && labelColumn < Game::kLineBufferSize) {
            g.GotoLabel(text(line, labelColumn));
        }
        return Step::Ends;
    }
    static Step mess(Game& g, const std::uint8_t* line) {
        g.ShowSystemMessage(number(line, 6));
        return Step::Ends;
    }
    static Step call(Game& g, const std::uint8_t* line) {
        const int length = g.readChunk(text(line, 6), trace::kByCall);
        if (length < 0) return Step::GoesOn;
        g.saveCaller();
        g.startChunk(length);
        g.inCall = true;
        return Step::Ends;
    }
    static Step end(Game& g, const std::uint8_t*) {
        if (!g.inCall) return Step::GoesOn;
        g.restoreCaller();
        if (g.viewKind == 3) {
            g.ShowPicture("A531,1");
            g.viewFlag = ViewFlag::ViewShown;
        }
        return Step::Ends;
    }
    static Step mode(Game& g, const std::uint8_t* line) {
        g.altTextMode = static_cast<AltTextMode>(number(line, 6));
        g.frameFont.face = "ＭＳ 明朝";
        g.fetchLine = true;
        return Step::Ends;
    }
    static Step load(Game& g, const std::uint8_t*) {
        g.OpenSlotList(false);
        return Step::Ends;
    }
    static Step gameinit(Game& g, const std::uint8_t*) {
        g.vars.clearGameVariables();
        g.vars.setV(Variables::kClearMarkValue, g.clearMark);
        return Step::GoesOn;
    }
    static Step grb(Game& g, const std::uint8_t* line) {
        g.overlayDeferred = true;
        g.ShowPicture(text(line, 5));
        return Step::GoesOn;
    }
    static Step move(Game& g, const std::uint8_t*) {
        g.ShowHotelMenu();
        return Step::Ends;
    }
    static Step special(Game& g, const std::uint8_t* line) {
        g.SpecialEffect(text(line, 9));
        return Step::GoesOn;
    }
    static Step gameclr(Game& g, const std::uint8_t*) {
        g.RecordClearedGame();
        return Step::GoesOn;
    }
    static Step view(Game& g, const std::uint8_t* line) {
        g.OpenView(number(line, 6));
        return Step::Ends;
    }

    // One handler for each keyword of kCommandKeywords, in the order of CommandId.
    static constexpr std::array<Handler, kCommandKeywords.size()> kHandlers{
        gra,  music, voice, go,   clrb,     flagOn, flagOff, select,  chain,   ifOn, ifOff, calc,
        ifCondition, mess, call, end, mode, load,   gameinit, grb,   move,    special, gameclr, view,
    };
};

CommandTable::Step CommandTable::dispatch(Game& game) {
    const std::uint8_t* line = game.lineBuffer.data();
    const std::size_t available = boundedLength(line + 1, Game::kLineBufferSize - 1);
    const CommandKeyword* command = matchCommandKeyword(line + 1, available);
    if (command == nullptr) return Step::GoesOn;
    return kHandlers[static_cast<std::size_t>(command->id)](game, line);
}

Game::Step Game::dispatchCommand() { return CommandTable::dispatch(*this); }

void Game::RecordClearedGame() {
    clearMark = readIntSetting(host_, setting::kClear) != 0 ? 1 : 0;
    clearMark += 1;
    writeIntSetting(host_, setting::kClear, clearMark);
    vars.setV(Variables::kClearMarkValue, clearMark);
    host_.traceEvent("game-clear " + std::to_string(clearMark));
    UpdateSeenRecord();
}

}  // namespace corvan
