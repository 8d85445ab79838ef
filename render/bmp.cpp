#include "render/bmp.h"

#include <algorithm>
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

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::uint32_t kBitFields = 3;

// One colour channel of a bit-field pixel: the bits its mask selects, widened or narrowed to
// eight bits by shifting (a five-bit 31 is 248), as the platform's bitmap reader widens them.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;  // of the mask's lowest bit
    int bits = 0;

    static std::optional<Channel> of(std::uint32_t mask) {
        if (mask == 0) return std::nullopt;
        Channel c{mask, 0, 0};
        while (((mask >> c.shift) & 1) == 0) ++c.shift;
        while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1) != 0) ++c.bits;
        if ((mask >> c.shift) != (c.bits == 32 ? ~0u : (1u << c.bits) - 1)) return std::nullopt;
        return c;
    }
    std::uint8_t value(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>(bits >= 8 ? v >> (bits - 8) : v << (8 - bits));
    }
};

struct Header {
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kUncompressed;
    std::array<Channel, 3> channels{};  // blue, green, red of 16- and 32-bit pixels
    std::array<std::uint32_t, 256> palette{};
};

void putColour(std::uint8_t* dst, std::uint32_t c) {
    dst[0] = static_cast<std::uint8_t>(c >> 16);
    dst[1] = static_cast<std::uint8_t>(c >> 8);
    dst[2] = static_cast<std::uint8_t>(c);
}

std::optional<Header> readHeader(std::span<const std::uint8_t> file, std::string& error) {
    Reader in(file);
    Header h;
    if (file.size() < 26 || in.u8(0) != 'B' || in.u8(1) != 'M') {
        error = "not a BMP file";
        return std::nullopt;
    }
    h.pixelOffset = in.u32(10);
    h.headerSize = in.u32(14);
    std::uint32_t paletteUsed = 0;
    std::size_t paletteEntrySize = 4;
    if (h.headerSize == 12) {
        h.width = static_cast<std::int16_t>(in.u16(18));
        h.height = static_cast<std::int16_t>(in.u16(20));
        h.bitCount = in.u16(24);
        paletteEntrySize = 3;
    } else if (h.headerSize >= 40) {
        h.width = static_cast<std::int32_t>(in.u32(18));
        h.height = static_cast<std::int32_t>(in.u32(22));
        h.bitCount = in.u16(28);
        h.compression = in.u32(30);
        paletteUsed = in.u32(46);
    } else {
        error = "unknown BMP header size " + std::to_string(h.headerSize);
        return std::nullopt;
    }
    if (in.bad() || h.headerSize > file.size() - 14) {
        error = "BMP header is cut short";
        return std::nullopt;
    }
    h.topDown = h.height < 0;
    if (h.topDown) h.height = -h.height;
    if (h.width <= 0 || h.height <= 0 || h.width * h.height > kMaxPixels) {
        error = "BMP size " + std::to_string(h.width) + "x" + std::to_string(h.height) +
                " is not usable";
        return std::nullopt;
    }

    const std::uint32_t b = h.bitCount, c = h.compression;
    const bool supported =
        (c == kUncompressed && (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32)) ||
        (c == kBitFields && (b == 16 || b == 32)) || (c == kRunLength8 && b == 8) ||
        (c == kRunLength4 && b == 4);
    if (!supported) {
        error = c == kUncompressed ? std::to_string(b) + "-bit BMP files are not supported"
                                   : "this kind of compressed BMP file is not supported";
        return std::nullopt;
    }
    if ((c == kRunLength8 || c == kRunLength4) && h.topDown) {
        error = "a run-length BMP file cannot be stored top-down";
        return std::nullopt;
    }

    // The masks follow a 40-byte header and lie inside the longer ones, at the same place.
    static constexpr std::array<std::uint32_t, 3> kMasks555 = {0x001F, 0x03E0, 0x7C00};
    static constexpr std::array<std::uint32_t, 3> kMasks888 = {0x0000FF, 0x00FF00, 0xFF0000};
    std::array<std::uint32_t, 3> masks = b == 16 ? kMasks555 : kMasks888;
    if (c == kBitFields) masks = {in.u32(62), in.u32(58), in.u32(54)};
    for (std::size_t i = 0; i < 3 && b >= 16; ++i) {
        const auto channel = Channel::of(masks[i]);
        if (!channel) {
            error = "BMP colour masks are not usable";
            return std::nullopt;
        }
        h.channels[i] = *channel;
    }
    if (in.bad()) {
        error = "BMP colour masks are cut short";
        return std::nullopt;
    }

    if (b <= 8) {
        std::uint32_t colours = paletteUsed != 0 ? paletteUsed : 1u << b;
        if (colours > 256) colours = 256;
        const std::size_t paletteStart = 14 + static_cast<std::size_t>(h.headerSize);
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::size_t at = paletteStart + i * paletteEntrySize;
            h.palette[i] = in.u8(at) << 16 | in.u8(at + 1) << 8 | in.u8(at + 2);  // B, G, R
        }
        if (in.bad()) {
            error = "BMP palette is cut short";
            return std::nullopt;
        }
    }
    if (h.pixelOffset > file.size()) {
        error = "BMP pixel data is cut short";
        return std::nullopt;
    }
    return h;
}

std::optional<Bitmap> readRows(const Header& h, std::span<const std::uint8_t> file,
                               std::string& error) {
    const std::uint32_t bits = h.bitCount;
    const std::size_t stride = ((static_cast<std::size_t>(h.width) * bits + 31) / 32) * 4;
    if (file.size() - h.pixelOffset < stride * static_cast<std::size_t>(h.height)) {
        error = "BMP pixel data is cut short";
        return std::nullopt;
    }
    Bitmap bitmap(static_cast<int>(h.width), static_cast<int>(h.height));
    for (int y = 0; y < bitmap.height(); ++y) {
        const int fileRow = h.topDown ? y : bitmap.height() - 1 - y;
        const std::uint8_t* src = file.data() + h.pixelOffset + stride * fileRow;
        std::uint8_t* dst = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, dst += 3) {
            if (bits == 24 || (bits == 32 && h.compression == kUncompressed)) {
                std::memcpy(dst, src + x * (bits / 8), 3);
                continue;
            }
            if (bits >= 16) {
                std::uint32_t pixel = src[x * (bits / 8)] | src[x * (bits / 8) + 1] << 8;
                if (bits == 32) {
                    pixel |= static_cast<std::uint32_t>(src[x * 4 + 2]) << 16 |
                             static_cast<std::uint32_t>(src[x * 4 + 3]) << 24;
                }
                for (int i = 0; i < 3; ++i) dst[i] = h.channels[i].value(pixel);
                continue;
            }
            std::uint32_t index = 0;
            if (bits == 8) index = src[x];
            if (bits == 4) index = (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
            if (bits == 1) index = (src[x / 8] >> (7 - x % 8)) & 1;
            putColour(dst, h.palette[index]);
        }
    }
    return bitmap;
}

// Run-length pictures are stored bottom-up as a stream of runs: a count and one byte to repeat
// (two alternating pixels for 4 bits), or a zero and an escape: 0 ends the row, 1 ends the
// picture, 2 moves right and up by the next two bytes, and 3 or more is that many pixels given
// one by one (padded to an even byte count). Pixels the stream never sets take palette entry 0.
// A stream that ends early or puts a pixel outside the picture is refused.
std::optional<Bitmap> readRunLengthRows(const Header& h, std::span<const std::uint8_t> file,
                                        std::string& error) {
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    const bool fourBits = h.compression == kRunLength4;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height, 0);
    const std::span<const std::uint8_t> data = file.subspan(h.pixelOffset);
    std::size_t at = 0;
    int x = 0, y = 0;  // y counts rows from the bottom
    auto fail = [&](const char* what) {
        error = std::string("run-length BMP data ") + what;
        return std::optional<Bitmap>{};
    };
    auto put = [&](std::uint8_t index) {
        if (x >= width || y >= height) return false;
        indices[static_cast<std::size_t>(y) * width + x++] = index;
        return true;
    };
    for (;;) {
        if (data.size() - at < 2) {
            // All rows done: the end mark may be left off.
            if (y >= height && at == data.size()) break;
            return fail("ends before its end mark");
        }
        const std::uint8_t count = data[at++];
        const std::uint8_t value = data[at++];
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                const std::uint8_t index =
                    fourBits ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value;
                if (!put(index)) return fail("runs past the edge of the picture");
            }
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (data.size() - at < 2) return fail("ends inside a move");
            x += data[at++];
            y += data[at++];
            if (x > width || y > height || (y == height && x > 0)) {
                return fail("moves outside the picture");
            }
        } else {
            const std::size_t bytes = fourBits ? (value + 1u) / 2 : value;
            if (data.size() - at < bytes) return fail("ends inside a run");
            for (int i = 0; i < value; ++i) {
                const std::uint8_t b = data[at + (fourBits ? i / 2 : i)];
                const std::uint8_t index = fourBits ? (i % 2 == 0 ? b >> 4 : b & 0x0F) : b;
                if (!put(index)) return fail("runs past the edge of the picture");
            }
            at += bytes + (bytes & 1);
            at = std::min(at, data.size());
        }
    }
    Bitmap bitmap(width, height);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = indices.data() + static_cast<std::size_t>(row) * width;
        std::uint8_t* dst = bitmap.row(height - 1 - row);
        for (int column = 0; column < width; ++column, dst += 3) {
            putColour(dst, h.palette[src[column]]);
        }
    }
    return bitmap;
}

}  // namespace

std::optional<Bitmap> readBmp(std::span<const std::uint8_t> file, std::string& error) {
    const auto header = readHeader(file, error);
    if (!header) return std::nullopt;
    if (header->compression == kRunLength8 || header->compression == kRunLength4) {
        return readRunLengthRows(*header, file, error);
    }
    return readRows(*header, file, error);
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
