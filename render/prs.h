#pragma once

// PRS pictures: a BMP file compressed with the game's own LZ scheme. An 8-byte header holds
// the decoded size (24 bits at offset 2); then groups of one flag byte and eight items follow,
// flag bits from the most significant down: a clear bit is one literal byte, a set bit a
// two-byte back-reference into a 16 KiB ring window that starts out all zeros.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvan {

// The largest decoded picture the game handles (a 640x480 24-bit BMP is 921 654 bytes).
constexpr std::uint32_t kMaxPrsDecodedSize = 1024 * 1024;
constexpr std::size_t kPrsHeaderSize = 8;
constexpr std::size_t kPrsWindowSize = 16384;

// Decodes PRS files one after another into a single work buffer, made at the first picture
// for the largest one the game handles and reused for every later one, so that decoding a
// picture allocates nothing.
class PrsDecoder {
public:
    // The decoded bytes, exactly as many as the header says, valid until the next call.
    // Refuses, with `error` set, a decoded size over kMaxPrsDecodedSize and a stream that ends
    // before that many bytes are produced. Any input is safe to pass.
    std::optional<std::span<const std::uint8_t>> decode(std::span<const std::uint8_t> file,
                                                        std::string& error);

private:
    std::vector<std::uint8_t> buffer_;
};

// The same as a new vector, for callers that decode a single picture.
std::optional<std::vector<std::uint8_t>> decodePrsBytes(std::span<const std::uint8_t> file,
                                                        std::string& error);

// Compresses `data` (greedy matching over hash chains). The result decodes to `data` exactly.
std::vector<std::uint8_t> encodePrsBytes(std::span<const std::uint8_t> data);

}  // namespace corvan
