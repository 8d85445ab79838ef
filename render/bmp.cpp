#include "render/bmp.h"

#include <array>
#include <cstring>

namespace corvan {

namespace {

// Bounds-checked little-endian reads; out-of-range reads give 0 and mark the reader bad.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint32_t u8(std::size_t at) {
        if (at >= bytes_.size()) {
            bad_ = true;
            return 0;
        }
        return bytes_[at];
    }
    std::uint32_t u16(std::size_t at) { return u8(at) | u8(at + 1) << 8; }
    std::uint32_t u32(std::size_t at) { return u16(at) | u16(at + 2) << 16; }
    bool bad() const { return bad_; }

private:
    std::span<const std::uint8_t> bytes_;
    bool bad_ = false;
};

constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

}  // namespace

std::optional<Bitmap> readBmp(std::span<const std::uint8_t> file, std::string& error) {
    Reader in(file);
    if (file.size() < 26 || in.u8(0) != 'B' || in.u8(1) != 'M') {
        error = "not a BMP file";
        return std::nullopt;
    }
    const std::uint32_t pixelOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);
    std::int64_t width = 0, height = 0;
    std::uint32_t bitCount = 0, compression = 0, paletteUsed = 0;
    std::size_t paletteEntrySize = 4;
    if (headerSize == 12) {
        width = static_cast<std::int16_t>(in.u16(18));
        height = static_cast<std::int16_t>(in.u16(20));
        bitCount = in.u16(24);
        paletteEntrySize = 3;
    } else if (headerSize >= 40) {
        width = static_cast<std::int32_t>(in.u32(18));
        height = static_cast<std::int32_t>(in.u32(22));
        bitCount = in.u16(28);
        compression = in.u32(30);
        paletteUsed = in.u32(46);
    } else {
        error = "unknown BMP header size " + std::to_string(headerSize);
        return std::nullopt;
    }
    if (in.bad() || headerSize > file.size() - 14) {
        error = "BMP header is cut short";
        return std::nullopt;
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) {
        error = "BMP size " + std::to_string(width) + "x" + std::to_string(height) +
                " is not usable";
        return std::nullopt;
    }
    // Bit fields on a 32-bit picture name the usual byte order; anything else is compressed.
    if (!(compression == 0 || (compression == 3 && bitCount == 32))) {
        error = "compressed BMP files are not supported";
        return std::nullopt;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        error = std::to_string(bitCount) + "-bit BMP files are not supported";
        return std::nullopt;
    }

    std::array<std::uint32_t, 256> palette{};
    if (bitCount <= 8) {
        std::uint32_t colours = paletteUsed != 0 ? paletteUsed : 1u << bitCount;
        if (colours > 256) colours = 256;
        const std::size_t paletteStart = 14 + static_cast<std::size_t>(headerSize);
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::size_t at = paletteStart + i * paletteEntrySize;
            palette[i] = in.u8(at) << 16 | in.u8(at + 1) << 8 | in.u8(at + 2);  // B, G, R
        }
        if (in.bad()) {
            error = "BMP palette is cut short";
            return std::nullopt;
        }
    }

    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    const std::size_t needed = stride * static_cast<std::size_t>(height);
    if (pixelOffset > file.size() || file.size() - pixelOffset < needed) {
        error = "BMP pixel data is cut short";
        return std::nullopt;
    }

    Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
    for (int y = 0; y < bitmap.height(); ++y) {
        const int fileRow = topDown ? y : bitmap.height() - 1 - y;
        const std::uint8_t* src = file.data() + pixelOffset + stride * fileRow;
        std::uint8_t* dst = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, dst += 3) {
            if (bitCount >= 24) {
                std::memcpy(dst, src + x * (bitCount / 8), 3);
                continue;
            }
            std::uint32_t index = 0;
            if (bitCount == 8) index = src[x];
            if (bitCount == 4) index = (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
            if (bitCount == 1) index = (src[x / 8] >> (7 - x % 8)) & 1;
            const std::uint32_t c = palette[index];
            dst[0] = static_cast<std::uint8_t>(c >> 16);
            dst[1] = static_cast<std::uint8_t>(c >> 8);
            dst[2] = static_cast<std::uint8_t>(c);
        }
    }
    return bitmap;
}

std::vector<std::uint8_t> writeBmp(const Bitmap& bitmap) {
    const std::size_t stride = (bitmap.stride() + 3) / 4 * 4;
    const std::size_t pixelBytes = stride * bitmap.height();
    const std::size_t size = 54 + pixelBytes;
    std::vector<std::uint8_t> out(size, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(size));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(bitmap.width()));
    put32(22, static_cast<std::uint32_t>(bitmap.height()));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<std::uint32_t>(pixelBytes));
    for (int y = 0; y < bitmap.height(); ++y) {
        std::memcpy(out.data() + 54 + stride * (bitmap.height() - 1 - y), bitmap.row(y),
                    bitmap.stride());
    }
    return out;
}

}  // namespace corvan
