#include "game/snapshot.h"

#include <algorithm>

#include "game/game.h"

namespace corvan {

namespace {

// The buffer up to its last byte that is not 0. A chunk leaves the bytes of a longer one before
// it in place past its end, so the length of the chunk is not enough.
template <std::size_t N>
std::vector<std::uint8_t> usedBytes(const std::array<std::uint8_t, N>& buffer) {
    auto end = buffer.end();
    while (end != buffer.begin() && *(end - 1) == 0) --end;
    return {buffer.begin(), end};
}

// Puts the used bytes back and zeroes the rest, as a chunk read into a fresh buffer leaves it.
template <std::size_t N>
void putBack(std::array<std::uint8_t, N>& buffer, const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(bytes.size()), buffer.end(), 0);
}

}  // namespace

GameSnapshot Game::TakeSnapshot() const {
    GameSnapshot s;
    // The caller's buffers are copied whole before they are used again.
    s.script = usedBytes(scriptBuffer);
    if (inCall) s.call = usedBytes(callBuffer);
    if (inMessage) s.message = usedBytes(messageBuffer);
    s.scriptLength = scriptLength;
    s.scriptPos = scriptPos;
    s.lineBuffer = lineBuffer;
    s.linePos = linePos;
    s.callReturnPos = callReturnPos;
    s.callReturnLength = callReturnLength;
    s.inCall = inCall;
    s.messageReturnPos = messageReturnPos;
    s.messageReturnLength = messageReturnLength;
    s.inMessage = inMessage;
    s.chapterName = chapterName;
    s.lastChunk = lastChunk;
    s.currentChunk = currentChunk;
    s.callerChunk = callerChunk;
    s.messageCallerChunk = messageCallerChunk;
    s.run = *this;
    s.cursor = *this;
    s.menu = *this;
    s.sound = *this;
    s.views.viewFlag = viewFlag;
    s.views.viewKind = viewKind;
    s.views.viewState = viewState;
    s.views.hotelPictures.plate = hotelPictures.plate;
    s.views.hotelPictures.labelMask = hotelPictures.labelMask;
    s.views.hotelPictures.plateScratch = hotelPictures.plateScratch;
    s.mapCanvasWidth = hotelPictures.mapCanvas.width();
    s.mapCanvasHeight = hotelPictures.mapCanvas.height();
    s.movableFrame = movableFrame;
    s.mainWindowBordered = mainWindowBordered;
    s.frameFont = frameFont;
    s.frameFontColour = frameFontColour;
    s.frameOpen = frameOpen;
    s.overlayShown = overlayShown;
    s.overlayDeferred = overlayDeferred;
    if (!sharedOverlay_ || sharedOverlayVersion_ != overlayVersion_) {
        sharedOverlay_ = std::make_shared<const OverlayImage>(layers.overlayImage);
        sharedOverlayVersion_ = overlayVersion_;
    }
    s.overlayImage = sharedOverlay_;
    s.overlayVersion = overlayVersion_;
    s.vars = vars;
    s.aMarks = aMarks;
    s.bMarks = bMarks;
    s.settings = settings;
    s.clearMark = clearMark;
    s.random = random;
    return s;
}

void Game::RestoreSnapshot(const GameSnapshot& s) {
    putBack(scriptBuffer, s.script);
    putBack(callBuffer, s.call);
    putBack(messageBuffer, s.message);
    scriptLength = s.scriptLength;
    scriptPos = s.scriptPos;
    lineBuffer = s.lineBuffer;
    linePos = s.linePos;
    callReturnPos = s.callReturnPos;
    callReturnLength = s.callReturnLength;
    inCall = s.inCall;
    messageReturnPos = s.messageReturnPos;
    messageReturnLength = s.messageReturnLength;
    inMessage = s.inMessage;
    chapterName = s.chapterName;
    lastChunk = s.lastChunk;
    currentChunk = s.currentChunk;
    callerChunk = s.callerChunk;
    messageCallerChunk = s.messageCallerChunk;
    static_cast<RunState&>(*this) = s.run;
    static_cast<TextCursor&>(*this) = s.cursor;
    static_cast<MenuState&>(*this) = s.menu;
    static_cast<SoundState&>(*this) = s.sound;
    viewFlag = s.views.viewFlag;
    viewKind = s.views.viewKind;
    viewState = s.views.viewState;
    hotelPictures.plate = s.views.hotelPictures.plate;
    hotelPictures.labelMask = s.views.hotelPictures.labelMask;
    hotelPictures.plateScratch = s.views.hotelPictures.plateScratch;
    if (hotelPictures.mapCanvas.width() != s.mapCanvasWidth ||
        hotelPictures.mapCanvas.height() != s.mapCanvasHeight) {
        hotelPictures.mapCanvas = Bitmap(s.mapCanvasWidth, s.mapCanvasHeight);
    }
    movableFrame = s.movableFrame;
    mainWindowBordered = s.mainWindowBordered;
    frameFont = s.frameFont;
    frameFontColour = s.frameFontColour;
    frameOpen = s.frameOpen;
    overlayShown = s.overlayShown;
    overlayDeferred = s.overlayDeferred;
    if (overlayVersion_ != s.overlayVersion) {
        layers.overlayImage = *s.overlayImage;
        overlayVersion_ = s.overlayVersion;
    }
    vars = s.vars;
    aMarks = s.aMarks;
    bMarks = s.bMarks;
    settings = s.settings;
    clearMark = s.clearMark;
    random = s.random;
    textWindowDrag_ = {};
}

}  // namespace corvan
