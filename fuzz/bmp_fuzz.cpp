// Fuzz target: any bytes as a BMP file, the form every PRS picture decodes to. A picture that
// reads must write back as a 24-bit file that reads as the same pixels.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "render/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto bitmap = corvan::readBmp(std::span(data, size), error);
    if (!bitmap) {
        if (error.empty()) abort();
        return 0;
    }
    const auto again = corvan::readBmp(corvan::writeBmp(*bitmap), error);
    if (!again || again->width() != bitmap->width() || again->height() != bitmap->height()) {
        abort();
    }
    for (int y = 0; y < bitmap->height(); ++y) {
        if (std::memcmp(again->row(y), bitmap->row(y), bitmap->stride()) != 0) abort();
    }
    return 0;
}
