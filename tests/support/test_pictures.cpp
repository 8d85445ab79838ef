#include "support/test_pictures.h"

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
    writeBytes(file, encodePrsBytes(writeBmp(bitmap)));
}

}  // namespace corvan::test
