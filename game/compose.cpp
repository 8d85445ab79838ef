// Screen composition: the composite of background and overlay, the see-through blue backdrop
// of the message frame, the full redraw, opening and clearing the frame, and the pulsing wait
// marker in the bottom-right corner.

#include <algorithm>

#include "game/game.h"
#include "render/raster.h"

namespace corvan {

namespace {

// The blue fade of the frame backdrop, by row distance from the bottom: one step a row for 40
// rows, then two.
int backdropFade(int d) {
    return d <= 40 ? d : 40 + 2 * (d - 40);
}

}  // namespace

void Game::Compose() {
    draw(layers.composite, 0, 0, layers.background);
    if (overlayShown && layers.overlayImage.present) {
        drawKeyed(layers.composite, 0, 0, layers.overlayImage.image, layers.overlayImage.key);
    }
}

void Game::BuildFrameBackdrop() {
    if (movableFrame) return;
    constexpr Rect area{38, 382, 602, 466};  // the frame's inside, 564x84, under the picture
    Bitmap work(area.width(), area.height());
    blit(work, 0, 0, area.width(), area.height(), layers.composite, area.left, area.top);
    for (int y = 0; y < work.height(); ++y) {
        const int fade = backdropFade(work.height() - 1 - y);
        std::uint8_t* p = work.row(y);
        for (int x = 0; x < work.width(); ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(128 + p[0] / 2 - fade);
            p[1] = static_cast<std::uint8_t>(p[1] / 2);
            p[2] = static_cast<std::uint8_t>(p[2] / 2);
        }
    }
    draw(layers.frameBackdrop, 6, 6, work);
    draw(layers.textFrame, 0, 0, layers.frameBackdrop);
}

void Game::RedrawScreen() {
    Compose();
    draw(screen, 0, 0, layers.composite);
    if (frameOpen && !movableFrame) {
        BuildFrameBackdrop();
        draw(screen, kFrameLeft, kFrameTop, layers.textFrame);
    }
    updatePending = true;
}

void Game::resetFrameText() {
    frameFont.face = "ＭＳ ゴシック";
    frameFont.height = 16;
    frameFontColour = 0xFFFFFF;
    frameOpen = true;
    textColumn = 0;
    textLine = 0;
    largeText = 0;
    textColour = 0;
}

void Game::OpenTextFrame() {
    resetFrameText();
    if (!movableFrame) {
        BuildFrameBackdrop();
        draw(layers.textFrame, 0, 0, layers.frameBackdrop);
        draw(screen, kFrameLeft, kFrameTop, layers.textFrame);
    } else {
        frameFontColour = 0xFFFFFF;
        draw(layers.textFrame, 0, 0, layers.frameBackdrop);
        host_.showTextWindow(layers.textFrame);
    }
    host_.repaint(screen);
}

void Game::ClearTextFrame() {
    resetFrameText();
    if (!movableFrame) {
        BuildFrameBackdrop();
    } else {
        frameFontColour = 0xFFFFFF;
    }
    draw(layers.textFrame, 0, 0, layers.frameBackdrop);
    host_.repaint(screen);
}

void Game::showTextFrame() {
    if (movableFrame) {
        host_.showTextWindow(layers.textFrame);
    } else {
        draw(screen, kFrameLeft, kFrameTop, layers.textFrame);
    }
}

void Game::DrawWaitMarker() {
    int k = tickCount & 15;
    if (k > 8) k = 16 - k;
    const int a = 30 * k;
    const bool phaseSet = (tickCount & 16) != 0;
    Bitmap corner(kMarkerCorner.width(), kMarkerCorner.height());
    blit(corner, 0, 0, corner.width(), corner.height(), layers.composite, kMarkerCorner.left,
         kMarkerCorner.top);
    for (int d = 0; d < 2 * k; ++d) {
        std::uint8_t* row = corner.row(corner.height() - 1 - d);
        for (int x = corner.width() - (2 * k - d); x < corner.width(); ++x) {
            std::uint8_t* p = row + x * 3;
            if (phaseSet) {
                p[0] = static_cast<std::uint8_t>(std::max(p[0] - a, 0));
                p[1] = static_cast<std::uint8_t>(std::min(p[1] + a, 255));
            } else {
                p[0] = static_cast<std::uint8_t>(std::min(p[0] + a, 255));
                p[1] = static_cast<std::uint8_t>(std::max(p[1] - a, 0));
            }
            p[2] = static_cast<std::uint8_t>(std::max(p[2] - a, 0));
        }
    }
    draw(screen, kMarkerCorner.left, kMarkerCorner.top, corner);
}

void Game::RestoreMarkerCorner() {
    copyRect(screen, layers.composite, kMarkerCorner);
}

}  // namespace corvan
