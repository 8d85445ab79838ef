// The alternate text mode of the `mode` command: text drawn straight into the picture in large
// characters, each in a white 32x32 box, on a grid of 14-pixel columns and 40-pixel lines. It
// has its own small set of commands and tags; everything else is passed over.

#include <algorithm>
#include <string_view>

#include "engine/ascii.h"
#include "engine/cp932.h"
#include "engine/message_tags.h"
#include "engine/text_cell.h"
#include "engine/trace_events.h"
#include "engine/wrapping.h"
#include "game/game.h"
#include "render/raster.h"

namespace corvan {

namespace {

bool startsWith(const std::uint8_t* text, std::string_view keyword) {
    return equalBytesIgnoringAsciiCase(text, reinterpret_cast<const std::uint8_t*>(keyword.data()),
                                       keyword.size());
}

}  // namespace

// One character in its 32x32 cell at line r, column q: the cell's shadow pass and character
// pass are ANDed into the picture, then the cell, white but for the character, is ORed over
// it. The text colour is set along the way but, as it always was, never shows: the characters
// come out black in white boxes.
void Game::drawCellCharacter(const std::uint8_t* bytes, int count) {
    const auto at = textCellPosition(textColumn, textLine, 14, 40);
    if (!at) return;
    const Rect cell{at->x + 32, at->y + 20, at->x + 64, at->y + 52};
    const int sourceWidth = count == 1 ? 16 : 32;
    Bitmap& glyph = layers.workCell;
    cellFont.face = "ＭＳ 明朝";
    cellFont.height = 30;
    auto copyToPicture = [&](RasterOp op) {
        Bitmap widened(cell.width(), cell.height());
        stretch(widened, {0, 0, cell.width(), cell.height()}, glyph, {0, 0, sourceWidth, 32});
        draw(layers.composite, cell.left, cell.top, widened, op);
    };
    fillRect(glyph, {0, 0, 32, 32}, 0xFFFFFF);
    text().drawCharacter(glyph, 2, 2, bytes, count, cellFont, 0x000000);
    copyToPicture(RasterOp::And);
    text().drawCharacter(glyph, 0, 0, bytes, count, cellFont, 0x000000);
    copyToPicture(RasterOp::And);
    SetTextColour();
    fillRect(glyph, {0, 0, 32, 32}, 0xFFFFFF);
    text().drawCharacter(glyph, 0, 0, bytes, count, cellFont, 0x000000);
    copyToPicture(RasterOp::Or);
}

void Game::altPacing() {
    if (textDelay == 1) {
        delayTicks = 0;
    } else if (textDelay != 0) {
        // A negative delay would count down for ever; it waits one tick instead.
        delayTicks = std::max(textDelay / 4, 1);
    }
}

// Text that is not shown character by character still reaches the screen at each line end and
// wait, so that the page can be read.
void Game::altShowPage() {
    if (textDelay == 0 || (textDelay == 1 && !settings.charByChar)) {
        draw(screen, 0, 0, layers.composite);
        updatePending = true;
    }
}

// Fetches lines until a text line. False when the step ends on the way.
bool Game::altFetchTextLine() {
    for (;;) {
        if (scriptPos >= scriptLength) {
            linePos = 0;
            if (inCall) {
                restoreCaller();
                altTextMode = AltTextMode::Off;
            } else {
                host_.traceEvent(std::string(trace::kScriptStop) + " " + cp932ToUtf8(currentChunk));
                scriptRunning = false;
            }
            return false;
        }
        fetchNextLine();
        const std::uint8_t* line = lineBuffer.data();
        if (line[0] == 0) {
            textLine = wrappingAdd(textLine, 1);
            continue;
        }
        if (line[0] == ':' || line[0] == ';') continue;
        if (line[0] == '*') {
            if (startsWith(line + 1, "gra")) {
                ShowPicture(std::string_view(reinterpret_cast<const char*>(line + 5),
                                             boundedLength(line + 5, kLineBufferSize - 5)));
            } else if (startsWith(line + 1, "music")) {
                PlayMusic(parseDecimal(line + 7, line + kLineBufferSize));
            } else if (startsWith(line + 1, "end")) {
                if (inCall) {
                    restoreCaller();
                } else {
                    altTextMode = AltTextMode::Off;
                }
                return false;
            } else if (startsWith(line + 1, "mode")) {
                altTextMode = AltTextMode::Off;
                return false;
            }
            continue;
        }
        fetchLine = false;
        traceTextLine();
        return true;
    }
}

void Game::AltTextStep() {
    frameFont.bold = false;
    cellFont.face = "ＭＳ 明朝";
    for (;;) {
        if (fetchLine && !altFetchTextLine()) return;
        const std::uint8_t* line = lineBuffer.data();
        for (;;) {
            const std::uint8_t b = line[linePos];
            const std::uint8_t b2 = linePos + 1 < kLineBufferSize ? line[linePos + 1] : 0;
            const auto pair = static_cast<std::uint16_t>(b << 8 | b2);
            if (b == '[') {
                const std::uint8_t* tag = line + linePos + 1;
                auto value = [&](std::size_t keywordLength) {
                    return parseDecimal(tag + keywordLength + 1, line + kLineBufferSize);
                };
                bool endStep = false;
                if (startsWith(tag, "col")) {
                    textColour = value(3);
                    SetTextColour();
                } else if (startsWith(tag, "wait")) {
                    delayTicks = std::max(0, value(4));
                    endStep = true;
                } else if (startsWith(tag, "voice")) {
                    const auto* name = reinterpret_cast<const char*>(tag + 6);
                    PlayVoice(std::string_view(
                        name, boundedLength(tag + 6, kLineBufferSize - linePos - 7)));
                } else if (startsWith(tag, "delay")) {
                    textDelay = value(5);
                }
                while (linePos < kLineBufferSize && line[linePos] != 0 && line[linePos] != ']') {
                    ++linePos;
                }
                if (linePos < kLineBufferSize && line[linePos] == ']') {
                    ++linePos;
                } else {
                    fetchLine = true;  // the next line goes on on the same text line
                    if (endStep) return;
                    break;
                }
                if (endStep) return;
                continue;
            }
            if (b == 0) {
                fetchLine = true;
                textColumn = 0;
                textLine = wrappingAdd(textLine, 1);
                altShowPage();
                altPacing();
                return;
            }
            if (b == '\\' && b2 == 0) {
                fetchLine = true;
                altShowPage();
                altPacing();
                return;
            }
            if (pair == kPageWaitMark || pair == kPlainWaitMark) {
                waitKind = pair == kPageWaitMark ? WaitKind::Page : WaitKind::Plain;
                fetchLine = true;
                altShowPage();
                return;
            }
            if (pair == kNewPageMark) {
                draw(layers.composite, 0, 0, layers.background);
                textLine = 0;
                textColumn = 0;
                fetchLine = true;
                return;
            }
            const int count = characterBytes(b, b2);
            drawCellCharacter(line + linePos, count);
            textColumn = wrappingAdd(textColumn, count);
            linePos += count;
            if (textDelay == 0 || (textDelay == 1 && !settings.charByChar)) continue;
            draw(screen, 0, 0, layers.composite);
            updatePending = true;
            altPacing();
            return;
        }
    }
}

}  // namespace corvan
