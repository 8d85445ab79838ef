#include "game/game.h"

#include <algorithm>
#include <cstring>

#include "engine/cp932.h"
#include "engine/trace_events.h"

namespace corvan {

Game::Game(Host& host, GameOptions options) : host_(host), options_(options) {}

bool Game::AppIdle() {
    ++idleCalls;
    // One number per idle call, whether or not anything uses it.
    random.next();
    if (quitRequested) {
        host_.closeMainWindow();
        return true;
    }
    if (updatePending) {
        host_.repaint(screen);
        updatePending = false;
    }
    if (storyCanRun()) RunScript();
    return true;
}

bool Game::storyCanRun() const {
    return viewFlag == ViewFlag::Story && menuKind == MenuKind::None && delayTicks == 0 &&
           waitKind == WaitKind::None && scriptRunning;
}

bool Game::IdleWorkPending() const {
    return quitRequested || updatePending || storyCanRun();
}

void Game::SkipIdleCalls(std::int64_t count) {
    // Each skipped call would have drawn its number, as the idle handler always has.
    for (std::int64_t i = 0; i < count; ++i) random.next();
    idleCalls += std::max<std::int64_t>(count, 0);
}

void Game::Timer1Timer() {
    ++tickCount;
    MusicLoopCheck();
    if (delayTicks > 0) {
        --delayTicks;
        return;
    }
    if (waitKind != WaitKind::None && viewFlag == ViewFlag::Story && frameOpen) DrawWaitMarker();
}

bool Game::LoadDirectory() {
    const auto file = host_.files().find(gameDirectory, "mg_data.stf");
    if (!file || !archive_.loadDirectory(*file, host_.files())) return false;
    if (archive_.directoryBytesRead() < Archive::kDirectorySize) {
        // The entries past the file's end read as empty: the chunks they named are lost.
        host_.traceEvent(std::string(trace::kArchiveError) + " " + file->filename().string() +
                         " is " + std::to_string(archive_.directoryBytesRead()) +
                         " bytes, shorter than its " + std::to_string(Archive::kDirectorySize) +
                         "-byte directory");
    }
    return true;
}

bool Game::LoadChunk(std::string_view name, std::string_view requester) {
    const int length = readChunk(name, requester);
    if (length < 0) return false;
    startChunk(length);
    return true;
}

int Game::readChunk(std::string_view name, std::string_view requester) {
    const int index = archive_.findEntry(name);
    if (index < 0) {
        std::string line = std::string(trace::kChunkMissing) + " " + cp932ToUtf8(name);
        if (!requester.empty()) {
            line += " (by " + std::string(requester) + " from " + cp932ToUtf8(currentChunk) + ")";
        }
        host_.traceEvent(line);
        return -1;
    }
    std::string error;
    const int length = archive_.readChunk(index, chunkReadBuffer_.data(), error);
    pendingChunkName_ = std::string(archive_.entry(index).nameView());
    if (length < 0) {
        // A damaged archive leaves the running chunk as it was, like a missing name does.
        host_.traceEvent(std::string(trace::kChunkError) + " " + cp932ToUtf8(pendingChunkName_) +
                         ": " + error);
        return -1;
    }
    return length;
}

void Game::startChunk(int length) {
    std::copy_n(chunkReadBuffer_.begin(), length, scriptBuffer.begin());
    scriptLength = length;
    lastChunk = pendingChunkName_;
    currentChunk = pendingChunkName_;
    scriptPos = 0;
    fetchLine = true;
    scriptRunning = true;
    waitKind = WaitKind::None;
    caseState = CaseState::None;
    menuKind = MenuKind::None;
    host_.traceEvent("chunk " + cp932ToUtf8(lastChunk));
}

TextRenderer& Game::text() {
    TextRenderer& renderer = host_.text();
    for (const std::string& warning : renderer.takeWarnings()) host_.warn(warning);
    return renderer;
}

}  // namespace corvan
