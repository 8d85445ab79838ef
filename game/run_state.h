#pragma once

// The interpreter's part of the game: the chunk it runs, the buffers a call or a message section
// returns from, and the run state that decides whether the story may go on.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/archive.h"

namespace corvan {

// What the story waits for before it goes on.
enum class WaitKind : std::int32_t {
    None = 0,
    Page = 1,   // the page wait a ▼ starts: the next click clears the frame
    Plain = 2,  // the plain wait a 〓 starts: the next click goes on
};

// Whether a choice jumped into a CASE branch, whose next label then skips to "end".
enum class CaseState : std::int32_t {
    None = 0,
    InBranch = 2,
};

// The alternate text mode the `mode` command sets; any number but 0 turns it on.
enum class AltTextMode : std::int32_t {
    Off = 0,
    On = 1,
};

// The chunk being run and the chunks waiting for a call's or a message section's return.
struct ChunkState {
    static constexpr int kScriptBufferSize = Archive::kMaxChunkLength;
    static constexpr int kLineBufferSize = 256;

    std::array<std::uint8_t, kScriptBufferSize> scriptBuffer{};
    std::int32_t scriptLength = 0;
    std::int32_t scriptPos = 0;
    std::array<std::uint8_t, kLineBufferSize> lineBuffer{};
    std::int32_t linePos = 0;
    std::array<std::uint8_t, kScriptBufferSize> callBuffer{};
    std::int32_t callReturnPos = 0;
    std::int32_t callReturnLength = 0;
    bool inCall = false;
    std::array<std::uint8_t, kScriptBufferSize> messageBuffer{};
    std::int32_t messageReturnPos = 0;
    std::int32_t messageReturnLength = 0;
    bool inMessage = false;
    std::array<std::uint8_t, 8> chapterName{};
    std::string lastChunk;  // archive name of the chunk loaded last
    // Archive names of the chunk in `scriptBuffer` and of the chunks waiting in `callBuffer` and
    // `messageBuffer`: they follow a call's or a message section's return, unlike `lastChunk`.
    std::string currentChunk;
    std::string callerChunk;
    std::string messageCallerChunk;
    // Called with the offset in `currentChunk` of every script line the interpreter fetches (the
    // chunk's length when it runs off its end); tools that follow a story's coverage set it, the
    // game leaves it empty.
    std::function<void(std::int32_t offset)> onLineFetched;
};

// Whether the story runs, what it waits for, and the counters of the idle call and the timer.
struct RunState {
    bool fetchLine = false;
    bool scriptRunning = false;
    CaseState caseState = CaseState::None;
    WaitKind waitKind = WaitKind::None;
    std::int32_t delayTicks = 0;
    std::int32_t textDelay = 0;
    AltTextMode altTextMode = AltTextMode::Off;
    bool updatePending = false;
    bool quitRequested = false;
    std::int32_t tickCount = 0;
    std::int64_t idleCalls = 0;
};

}  // namespace corvan
