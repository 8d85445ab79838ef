// Message text: the bytes of a text line, one character or inline tag at a time, with the
// cursor kept in 8-pixel columns and 20-pixel rows of the message frame. The script places
// every line and page break itself; nothing here wraps text.

#include <array>
#include <string_view>

#include "engine/ascii.h"
#include "engine/message_tags.h"
#include "engine/text_cell.h"
#include "engine/wrapping.h"
#include "game/game.h"
#include "render/raster.h"

namespace corvan {

bool Game::HandleText() {
    const std::uint8_t* line = lineBuffer.data();
    for (;;) {
        const std::uint8_t b = line[linePos];
        const std::uint8_t b2 = linePos + 1 < kLineBufferSize ? line[linePos + 1] : 0;
        const std::uint16_t pair = static_cast<std::uint16_t>(b << 8 | b2);

        if (b == '[') {
            ++linePos;
            const TagResult result = handleTag();
            if (result == TagResult::EndStep) return true;
            if (result == TagResult::NextLine) return false;
            continue;
        }
        if (b == 0) {
            if (frameOpen) frameCopy();
            fetchLine = true;
            textColumn = 0;
            textLine = wrappingAdd(textLine, 1);
            applyPacingRule();
            return true;
        }
        if (b == '\\' && b2 == 0) {
            fetchLine = true;
            applyPacingRule();
            return true;
        }
        if (pair == kPageWaitMark || pair == kPlainWaitMark) {
            // Fast text draws the line without showing it; it must reach the screen before the
            // wait, or the click that ends the wait clears it unseen.
            if (frameOpen) frameCopy();
            waitKind = pair == kPageWaitMark ? WaitKind::Page : WaitKind::Plain;
            fetchLine = true;
            applyPacingRule();
            return true;
        }
        if (pair == kNewPageMark) {
            OpenTextFrame();
            fetchLine = true;
            applyPacingRule();
            return true;
        }
        if (pair == kWideSpace) {
            textColumn = wrappingAdd(textColumn, 2);
            linePos += 2;
            continue;
        }
        if (pair == kHeartMark) {
            drawHeartIcon();
            textColumn = wrappingAdd(textColumn, 2);
            linePos += 2;
            applyPacingRule();
            return true;
        }

        if (!frameOpen) OpenTextFrame();
        // A lead byte at the very end of the line has no partner: it is one byte wide, so the
        // line's end is still seen.
        const int count = characterBytes(b, b2);
        drawCharacter(line + linePos, count);
        textColumn = wrappingAdd(textColumn, largeText != 0 ? count * 2 : count);
        linePos += count;
        if (textDelay == 0 || (textDelay == 1 && !settings.charByChar)) continue;
        frameCopy();
        updatePending = true;
        applyPacingRule();
        return true;
    }
}

// Runs the tag that starts at `linePos` (just after its '[') and moves past its ']'.
Game::TagResult Game::handleTag() {
    const std::uint8_t* line = lineBuffer.data();
    const int open = linePos - 1;
    const std::size_t available = boundedLength(line + linePos, kLineBufferSize - linePos);
    auto argumentText = [&](int offset) {
        const int start = std::min(open + offset, kLineBufferSize - 1);
        return std::string_view(reinterpret_cast<const char*>(line + start),
                                boundedLength(line + start, kLineBufferSize - start));
    };
    auto argumentNumber = [&](int offset) {
        const int start = std::min(open + offset, kLineBufferSize - 1);
        return parseDecimal(line + start, line + kLineBufferSize);
    };

    const TextTagEntry* found = matchTextTag(line + linePos, available);

    bool isWait = false;
    if (found != nullptr) {
        switch (found->tag) {
            case TextTag::Picture: ShowPicture(argumentText(found->argumentOffset)); break;
            case TextTag::Normal: largeText = 0; break;
            case TextTag::Large: largeText = 1; break;
            case TextTag::Colour:
                textColour = argumentNumber(found->argumentOffset);
                SetTextColour();
                break;
            case TextTag::Wait:
                // A negative pause would never count down and would hold the story for good.
                delayTicks = std::max(0, argumentNumber(found->argumentOffset));
                isWait = true;
                break;
            case TextTag::Voice: PlayVoice(argumentText(found->argumentOffset)); break;
            case TextTag::ClearOverlay:
                overlayShown = false;
                RedrawScreen();
                break;
            case TextTag::Delay: {
                const std::int32_t delay = argumentNumber(found->argumentOffset);
                textDelay = delay == 0 ? 1 : delay;
                break;
            }
        }
    }

    // Skip to just past the closing ']'.
    while (linePos < kLineBufferSize && line[linePos] != 0 && line[linePos] != ']') ++linePos;
    const bool closed = linePos < kLineBufferSize && line[linePos] == ']';
    if (closed) ++linePos;
    if (isWait) return TagResult::EndStep;  // the line goes on at the next step; no pacing
    if (!closed) {
        // An unclosed tag eats the rest of the line, and the line makes no line break.
        fetchLine = true;
        return TagResult::NextLine;
    }
    return TagResult::Continue;
}

void Game::applyPacingRule() {
    if (textDelay == 1) {
        delayTicks = 0;
    } else if (textDelay >= 2) {
        delayTicks = std::max(textDelay / 4, 1);
    }
}

// The colours of the `col` tag. An index outside the table leaves the colour as it was.
constexpr std::array<std::uint32_t, 8> kTextColours = {
    rgb(255, 255, 255), rgb(0, 128, 0), rgb(255, 0, 0),   rgb(128, 0, 128),
    rgb(255, 255, 0),   rgb(0, 0, 255), rgb(0, 255, 255), rgb(0, 0, 0),
};

void Game::SetTextColour() {
    if (textColour >= 0 && textColour < static_cast<std::int32_t>(kTextColours.size())) {
        frameFontColour = kTextColours[static_cast<std::size_t>(textColour)];
    }
}

// Each character is drawn twice: a black shadow 2 pixels down and to the right, then the
// character in the text colour.
void Game::drawCharacter(const std::uint8_t* bytes, int count) {
    const auto cell = textCellPosition(textColumn, textLine, 8, 20);
    if (!cell) return;
    const auto [x, y] = *cell;
    frameFont.height = largeText != 0 ? 30 : 16;
    const int top = largeText != 0 ? y - 2 : y + 10;  // where the coloured character goes
    text().drawCharacter(layers.textFrame, x + 14, top + 2, bytes, count, frameFont, 0x000000);
    SetTextColour();
    text().drawCharacter(layers.textFrame, x + 12, top, bytes, count, frameFont, frameFontColour);
}

// The heart: the top-left 15x15 of the icon, its shape cut black into the frame with AND, then
// painted white with OR two pixels up and to the left.
void Game::drawHeartIcon() {
    const auto at = textCellPosition(textColumn, textLine, 8, 20);
    if (!at) return;
    const auto [x, y] = *at;
    Bitmap& cell = layers.workCell;
    blit(cell, 0, 0, 15, 15, layers.heart, 0, 0, RasterOp::CopyInverted);
    blit(layers.textFrame, x + 14, y + 12, 15, 15, cell, 0, 0, RasterOp::And);
    blit(cell, 0, 0, 15, 15, layers.heart, 0, 0, RasterOp::Copy);
    blit(layers.textFrame, x + 12, y + 10, 15, 15, cell, 0, 0, RasterOp::Or);
}

void Game::frameCopy() {
    showTextFrame();
}

}  // namespace corvan
