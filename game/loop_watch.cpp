#include "game/loop_watch.h"

namespace corvan {

void LoopWatch::restart() {
    linesSinceShown_ = 0;
    nextPlaceAt_ = kFirstPlaceAt;
    place_.reset();
    endless_ = false;
}

LoopWatch::Place LoopWatch::placeOf(const ChunkState& chunks, CaseState caseState,
                                    const Variables& vars) {
    return {chunks.currentChunk,
            chunks.scriptPos,
            caseState,
            chunks.inCall,
            chunks.inCall ? chunks.callerChunk : std::string(),
            chunks.inCall ? chunks.callReturnPos : 0,
            chunks.inMessage,
            chunks.inMessage ? chunks.messageCallerChunk : std::string(),
            chunks.inMessage ? chunks.messageReturnPos : 0,
            vars};
}

bool LoopWatch::samePlace(const ChunkState& chunks, CaseState caseState,
                          const Variables& vars) const {
    const Place& p = *place_;
    if (p.scriptPos != chunks.scriptPos || p.caseState != caseState || p.inCall != chunks.inCall ||
        p.inMessage != chunks.inMessage || p.chunk != chunks.currentChunk) {
        return false;
    }
    if (p.inCall &&
        (p.callReturnPos != chunks.callReturnPos || p.callerChunk != chunks.callerChunk)) {
        return false;
    }
    if (p.inMessage && (p.messageReturnPos != chunks.messageReturnPos ||
                        p.messageCallerChunk != chunks.messageCallerChunk)) {
        return false;
    }
    return p.vars == vars;
}

bool LoopWatch::repeats(const ChunkState& chunks, CaseState caseState, const Variables& vars) {
    ++linesSinceShown_;
    if (place_ && samePlace(chunks, caseState, vars)) return true;
    if (linesSinceShown_ >= nextPlaceAt_) {
        place_ = placeOf(chunks, caseState, vars);
        nextPlaceAt_ *= 2;
    }
    return false;
}

}  // namespace corvan
