// The `special` command's screen effects: a shake of the main window, a darkening of the picture
// outside a band of rows, seven white flashes and one. Each runs to its end before the script
// goes on; its pauses block the game as a whole (the host only shows what is drawn meanwhile).

#include <algorithm>
#include <string_view>

#include "engine/ascii.h"
#include "engine/cp932.h"
#include "game/game.h"
#include "render/raster.h"

namespace corvan {

namespace {

constexpr int kShakeDistance = 20;
constexpr int kShakePause_ms = 50;
constexpr int kFlashCount = 7;
constexpr int kFlashPause_ms = 20;
constexpr int kSingleFlashPause_ms = 50;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// Halves every channel of rows [from, to) of `picture`, rounding down.
void halveRows(Bitmap& picture, int from, int to) {
    for (int y = from; y < to; ++y) {
        std::uint8_t* p = picture.row(y);
        for (std::size_t i = 0; i < picture.stride(); ++i) {
            p[i] = static_cast<std::uint8_t>(p[i] >> 1);
        }
    }
}

}  // namespace

void Game::SpecialEffect(std::string_view text) {
    if (text.empty()) return;
    // A shake or a flash leaves nothing on the screen to look at afterwards: the trace says it ran.
    if (text[0] >= '1' && text[0] <= '4') host_.traceEvent("special " + cp932ToUtf8(text));
    switch (text[0]) {
        case '1': {
            // Up and down by 20 pixels, starting upward, ten times; then exactly back.
            const WindowPoint home = host_.mainWindowPosition();
            for (int k = 20; k >= 2; k -= 2) {
                const int offset = (k & 2) != 0 ? kShakeDistance : -kShakeDistance;
                host_.moveMainWindow({home.x, home.y + offset});
                host_.repaint(screen);
                host_.pause(kShakePause_ms);
            }
            host_.moveMainWindow(home);
            break;
        }
        case '2': {
            // "2,top,bottom": the first number starts two characters in, the second after the
            // next comma. Without that comma the picture stays as it is; numbers out of range
            // are brought into 0 <= top <= bottom <= 480.
            if (text.size() < 2) return;
            const std::string_view rest = text.substr(2);
            const std::size_t comma = rest.find(',');
            if (comma == std::string_view::npos) return;
            const int top = std::clamp(parseDecimal(rest), 0, kScreenHeight);
            const int bottom = std::clamp(parseDecimal(rest.substr(comma + 1)), top, kScreenHeight);
            Bitmap scratch = layers.composite;
            const int height = std::min(scratch.height(), kScreenHeight);
            halveRows(scratch, std::min(bottom, height), height);
            halveRows(scratch, 0, std::min(top, height));
            layers.composite = std::move(scratch);
            draw(screen, 0, 0, layers.composite);
            host_.repaint(screen);
            break;
        }
        case '3': {
            const Bitmap scratch = screen;
            for (int i = 0; i < kFlashCount; ++i) {
                fillRect(screen, kWholeScreen, kWhite);
                host_.repaint(screen);
                host_.pause(kFlashPause_ms);
                draw(screen, 0, 0, scratch);
                host_.repaint(screen);
                host_.pause(kFlashPause_ms);
            }
            break;
        }
        case '4': {
            const Bitmap scratch = screen;
            fillRect(screen, kWholeScreen, kWhite);
            host_.repaint(screen);
            host_.pause(kSingleFlashPause_ms);
            draw(screen, 0, 0, scratch);
            host_.repaint(screen);
            break;
        }
        default: break;
    }
}

}  // namespace corvan
