#include "support/test_pictures.h"

#include <map>
#include <utility>
#include <vector>

#include "render/bmp.h"
#include "render/prs.h"
#include "support/test_archive.h"

namespace corvan::test {

Bitmap makeBitmap(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            std::uint8_t* p = b.row(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(c >> 16);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c);
        }
    }
    return b;
}

Bitmap solidBitmap(int width, int height, std::uint32_t colour) {
    return makeBitmap(width, height, [colour](int, int) { return colour; });
}

void writePrs(const std::filesystem::path& file, const Bitmap& bitmap) {
    static std::map<std::vector<std::uint8_t>, std::vector<std::uint8_t>> compressed;
    std::vector<std::uint8_t> bmp = writeBmp(bitmap);
    auto it = compressed.find(bmp);
    if (it == compressed.end()) {
        std::vector<std::uint8_t> prs = encodePrsBytes(bmp);
        it = compressed.emplace(std::move(bmp), std::move(prs)).first;
    }
    writeBytes(file, it->second);
}

bool sameArea(const Bitmap& a, const Bitmap& b, Rect r) {
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
        }
    }
    return true;
}

bool sameBitmap(const Bitmap& a, const Bitmap& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           sameArea(a, b, {0, 0, a.width(), a.height()});
}

std::map<std::uint32_t, int> colourCounts(const Bitmap& b, Rect r) {
    std::map<std::uint32_t, int> counts;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) ++counts[b.pixel(x, y)];
    }
    return counts;
}

}  // namespace corvan::test
