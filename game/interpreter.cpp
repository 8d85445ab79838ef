// The interpreter step: walks the current chunk line by line until the player must see or do
// something. Labels are found by bytes, not by lines, as the game always found them: a colon
// anywhere in the chunk, even inside a text line, can be taken for a label.

#include <algorithm>
#include <cstring>

#include "engine/ascii.h"
#include "engine/cp932.h"
#include "engine/trace_events.h"
#include "engine/wrapping.h"
#include "game/game.h"

namespace corvan {

void Game::RunScript() {
    if (altTextMode != AltTextMode::Off) {
        AltTextStep();
        return;
    }
    // A step runs until the script shows something, however many lines that takes; only a loop
    // that can never end is cut (game/loop_watch.h), so that the window goes on answering. Once
    // such a loop is known, each step goes once round it.
    std::int64_t lines = 0;
    for (;;) {
        if (fetchLine) {
            const bool turnStarts = lines == 0 && loopWatch_.endless();
            ++lines;
            if ((!turnStarts && loopWatch_.repeats(*this, caseState, vars)) ||
                loopWatch_.stepOverBudget(lines)) {
                reportEndlessLoop();
                return;
            }
            if (!fetchNextLine()) break;
            const std::uint8_t first = lineBuffer[0];
            if (first == 0) {
                textLine = wrappingAdd(textLine, 1);
                continue;
            }
            if (first == ':') {
                handleLabelLine();
                continue;
            }
            if (first == ';') continue;
            if (first == '*') {
                const CommandKeyword* command = nullptr;
                const Step step = dispatchCommand(command);
                if (command != nullptr && !commandShowsNothing(command->id)) {
                    loopWatch_.restart();
                }
                if (step == Step::Ends) break;
                continue;
            }
            fetchLine = false;
            loopWatch_.restart();
            traceTextLine();
        }
        if (HandleText()) break;
    }
}

void Game::reportEndlessLoop() {
    if (loopWatch_.endless()) return;
    loopWatch_.markEndless();
    const auto chunk = std::span(
        scriptBuffer.data(),
        static_cast<std::size_t>(std::clamp<std::int32_t>(scriptLength, 0, kScriptBufferSize)));
    host_.traceEvent(std::string(trace::kScriptLoop) + " " + cp932ToUtf8(currentChunk) + ":" +
                     std::to_string(lineNumberAt(chunk, scriptPos)));
}

// Fetches the line at `scriptPos` into `lineBuffer`. False when the chunk has run off its end,
// which stops the interpreter until a chunk is loaded.
bool Game::fetchNextLine() {
    linePos = 0;
    if (onLineFetched) onLineFetched(scriptPos);
    if (scriptPos >= scriptLength) {
        std::string stop = std::string(trace::kScriptStop) + " " + cp932ToUtf8(currentChunk);
        if (inCall) stop += " (a called chunk without end)";
        if (inMessage) stop += " (a message section without a label after it)";
        host_.traceEvent(stop);
        if (inCall) restoreCaller();
        scriptRunning = false;
        return false;
    }
    // A line longer than the line buffer keeps its first 255 bytes; the rest is passed over. A
    // last line without its NUL ends at the chunk's end. Bytes after the NUL read as 0, so a
    // command that looks past a short line never sees the line before.
    const std::int32_t end = std::min<std::int32_t>(scriptLength, kScriptBufferSize);
    const std::uint8_t* start = scriptBuffer.data() + scriptPos;
    const auto available = static_cast<std::size_t>(std::max(end - scriptPos, 0));
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(start, 0, available));
    const std::size_t length = nul != nullptr ? static_cast<std::size_t>(nul - start) : available;
    const std::size_t kept = std::min<std::size_t>(length, kLineBufferSize - 1);
    std::memcpy(lineBuffer.data(), start, kept);
    std::memset(lineBuffer.data() + kept, 0, kLineBufferSize - kept);
    scriptPos += static_cast<std::int32_t>(length + (nul != nullptr ? 1 : 0));
    // A last line without its NUL ends the chunk.
    if (nul == nullptr) scriptPos = std::max(scriptPos, scriptLength);
    return true;
}

void Game::traceTextLine() {
    const auto* text = reinterpret_cast<const char*>(lineBuffer.data());
    host_.traceEvent("text " + cp932ToUtf8(std::string_view(
                                   text, boundedLength(lineBuffer.data(), kLineBufferSize))));
}

void Game::handleLabelLine() {
    if (caseState == CaseState::InBranch) {
        static constexpr std::uint8_t kEnd[] = {'e', 'n', 'd'};
        const bool isEnd = equalBytesIgnoringAsciiCase(lineBuffer.data() + 1, kEnd, 3);
        if (!isEnd) {
            const int target = FindLabelForward("end");
            if (target >= 0) {
                scriptPos = target;
            } else {
                traceMissingLabel("end");
            }
        }
        caseState = CaseState::None;
    }
    if (inMessage) restoreMessageCaller();
    fetchLine = true;
}

void Game::saveCaller() {
    callBuffer = scriptBuffer;
    callReturnPos = scriptPos;
    callReturnLength = scriptLength;
    callerChunk = currentChunk;
}

void Game::restoreCaller() {
    currentChunk = callerChunk;
    scriptBuffer = callBuffer;
    scriptPos = callReturnPos;
    scriptLength = callReturnLength;
    inCall = false;
    fetchLine = true;
}

void Game::restoreMessageCaller() {
    currentChunk = messageCallerChunk;
    scriptBuffer = messageBuffer;
    scriptPos = messageReturnPos;
    scriptLength = messageReturnLength;
    inMessage = false;
}

void Game::ResetRunState() {
    caseState = CaseState::None;
    textDelay = 1;
    frameOpen = false;
    waitKind = WaitKind::None;
    delayTicks = 0;
    menuKind = MenuKind::None;
    inMessage = false;
    inCall = false;
    altTextMode = AltTextMode::Off;
    inputLatch = false;
    overlayShown = false;
    overlayDeferred = false;
}

int Game::findLabelFrom(std::int32_t start, std::string_view name) const {
    const std::int32_t end = std::clamp<std::int32_t>(scriptLength, 0, kScriptBufferSize);
    return findLabelIn(std::span(scriptBuffer.data(), static_cast<std::size_t>(end)), start, name);
}

int Game::FindLabel(std::string_view name) const {
    return findLabelFrom(0, name);
}

int Game::FindLabelForward(std::string_view name) const {
    return findLabelFrom(scriptPos, name);
}

void Game::traceMissingLabel(std::string_view name) {
    host_.traceEvent(std::string(trace::kLabelMissing) + " " + cp932ToUtf8(name) + " in " +
                     cp932ToUtf8(currentChunk));
}

void Game::GotoLabel(std::string_view name) {
    const int target = FindLabel(name);
    if (target < 0) {
        traceMissingLabel(name);
        return;
    }
    scriptPos = target;
    fetchLine = true;
}

bool Game::EnterMessageChunk(std::string_view name) {
    // The chunk name is built in an 8-byte field: "mes" and at most four more bytes.
    const int length = readChunk("mes" + std::string(name.substr(0, 4)), trace::kByMessage);
    if (length < 0) return false;
    messageCallerChunk = currentChunk;
    messageBuffer = scriptBuffer;
    messageReturnPos = scriptPos;
    messageReturnLength = scriptLength;
    startChunk(length);
    inMessage = true;
    return true;
}

void Game::ShowSystemMessage(std::int32_t n) {
    // Without its message chunk the command is passed over: showing a section of whatever
    // chunk is running would put unrelated text before the player.
    if (!EnterMessageChunk("sys")) return;
    scriptPos = messageSectionStart(
        std::span(scriptBuffer.data(), static_cast<std::size_t>(scriptLength)), n);
}

void Game::JumpToCase(int row) {
    const std::string label = "CASE" + std::to_string(row);
    const int target = FindLabelForward(label);
    if (target >= 0) {
        scriptPos = target;
    } else {
        traceMissingLabel(label);
    }
    caseState = CaseState::InBranch;
    fetchLine = true;
}

}  // namespace corvan
