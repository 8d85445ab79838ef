#include "reader/backlog_view.h"

#include <string>

#include "engine/cp932.h"
#include "render/raster.h"

namespace corvan {

namespace {

constexpr int kRowHeight = 20;
constexpr int kPageGap = 10;
constexpr int kTextLeft = 40;
constexpr int kAreaTop = 36;
constexpr int kAreaBottom = 448;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGrey = 0xA0A0A0;
constexpr std::uint32_t kShadow = 0x000000;

const FontSpec& font() {
    static const FontSpec backlogFont{"ＭＳ ゴシック", 16, false};
    return backlogFont;
}

// The game's own look: the text with a black shadow two pixels down and to the right.
void shadowedText(Bitmap& target, TextRenderer& text, int x, int y, std::string_view cp932,
                  std::uint32_t colour) {
    text.drawText(target, x + 2, y + 2, cp932, font(), kShadow);
    text.drawText(target, x, y, cp932, font(), colour);
}

std::string cp932(std::string_view utf8) {
    return utf8ToCp932(utf8).value_or(std::string());
}

}  // namespace

void BacklogView::draw(Bitmap& target, const Bitmap& picture, const std::deque<Page>& pages,
                       std::size_t bottom, TextRenderer& text) {
    target = picture;
    // The picture at three eighths of its light: the text reads over any of it.
    for (int y = 0; y < target.height(); ++y) {
        std::uint8_t* row = target.row(y);
        for (int i = 0; i < target.width() * 3; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] * 3 / 8);
    }
    target.markDamage({0, 0, target.width(), target.height()});
    static const std::string title = cp932("バックログ");
    static const std::string hint =
        cp932("↑↓：めくる　Enter：声をもう一度　Esc・右クリック：閉じる");
    static const std::string voiceMark = cp932("♪");
    shadowedText(target, text, 16, 10, title, kWhite);
    shadowedText(target, text, 16, 456, hint, kGrey);

    placed_.clear();
    int pageBottom = kAreaBottom;
    for (std::size_t i = std::min(bottom + 1, pages.size()); i-- > 0;) {
        const Page& page = pages[i];
        const int rows = std::max<int>(1, static_cast<int>(page.rows.size()));
        const int top = pageBottom - rows * kRowHeight;
        if (top < kAreaTop && i != bottom) break;
        for (int r = 0; r < static_cast<int>(page.rows.size()); ++r) {
            shadowedText(target, text, kTextLeft, top + r * kRowHeight,
                         page.rows[static_cast<std::size_t>(r)], kWhite);
        }
        if (!page.voices.empty()) shadowedText(target, text, 16, top, voiceMark, kWhite);
        if (i == bottom) fillRect(target, {6, top + 2, 9, pageBottom - 2}, kWhite);
        placed_.push_back({{0, top, target.width(), pageBottom}, i});
        pageBottom = top - kPageGap;
    }
}

int BacklogView::pageAt(WindowPoint point) const {
    for (const Placed& p : placed_) {
        if (point.x >= p.area.left && point.x < p.area.right && point.y >= p.area.top &&
            point.y < p.area.bottom) {
            return static_cast<int>(p.page);
        }
    }
    return -1;
}

}  // namespace corvan
