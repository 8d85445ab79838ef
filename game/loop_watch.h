#pragma once

// Tells a script that loops for ever without showing anything from one that merely works for a
// while. A step runs until the script shows something, however many lines that takes: a loop
// that counts to a million ends in one step, as the game always ran it. A loop is endless for
// certain when the interpreter stands again at a line where it stood before, with the same
// chunks and the same variables, and nothing was shown and the player did nothing in between:
// from there the story can only go round again. The watch looks for that repeat as Brent's
// cycle search does, keeping one place and replacing it at every power of two lines, so it costs
// nothing while a script shows something every few lines. A loop that never repeats (a counter
// that runs on for ever) is cut by a budget of lines instead.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/variables.h"
#include "game/run_state.h"

namespace corvan {

class LoopWatch {
public:
    // Lines a step may run without showing anything before it ends though nothing repeated: ten
    // times a counting loop of a million lines, far past what a story has use for, and still
    // under a second before the window answers again (the interpreter runs some 14 million
    // lines a second on a 2-core build machine; bench: BM_CountingLoopLines).
    static constexpr std::int64_t kLineBudget = 10'000'000;
    // Once a loop is known to be endless, steps end after this many lines, so that the window
    // goes on repainting and answering the player while the script goes round.
    static constexpr std::int64_t kLinesPerStepInLoop = 10'000;

    // Something was shown, or the player acted: what came before says nothing about what comes.
    void restart();

    // The interpreter is about to fetch the line at `chunks.scriptPos` and nothing has been shown
    // since the last restart. True when it stood exactly here before: the loop is endless.
    bool repeats(const ChunkState& chunks, CaseState caseState, const Variables& vars);

    // Counts the lines of one step; true once the step has run more than it may.
    bool stepOverBudget(std::int64_t linesThisStep) const {
        return linesThisStep > (endless_ ? kLinesPerStepInLoop : kLineBudget);
    }

    // Since the last restart the script has been found looping (by a repeat or the budget). Set
    // once; the caller reports it then.
    bool endless() const { return endless_; }
    void markEndless() { endless_ = true; }

private:
    // Everything the lines after a place depend on, as long as nothing is shown and the player
    // does nothing: the chunk and position, where a call or message section returns to, and
    // the variables.
    struct Place {
        std::string chunk;
        std::int32_t scriptPos = 0;
        CaseState caseState = CaseState::None;
        bool inCall = false;
        std::string callerChunk;
        std::int32_t callReturnPos = 0;
        bool inMessage = false;
        std::string messageCallerChunk;
        std::int32_t messageReturnPos = 0;
        Variables vars;
    };
    static Place placeOf(const ChunkState& chunks, CaseState caseState, const Variables& vars);
    bool samePlace(const ChunkState& chunks, CaseState caseState, const Variables& vars) const;

    // The first place is kept after this many lines: a script that shows something every few
    // lines never pays for a copy of its variables.
    static constexpr std::int64_t kFirstPlaceAt = 16;

    std::int64_t linesSinceShown_ = 0;
    std::int64_t nextPlaceAt_ = kFirstPlaceAt;
    std::optional<Place> place_;
    bool endless_ = false;
};

}  // namespace corvan
