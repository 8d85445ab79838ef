#include "sound/wave_length.h"

#include <array>
#include <cstring>
#include <fstream>

namespace corvan {

namespace {

std::uint32_t little32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::optional<std::int64_t> waveMilliseconds(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<std::uint8_t, 12> riff{};
    if (!in.read(reinterpret_cast<char*>(riff.data()), riff.size())) return std::nullopt;
    if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    std::uint32_t bytesPerSecond = 0;
    // Chunks follow one another, each padded to an even size; a file cut short ends the search.
    for (int chunks = 0; chunks < 64; ++chunks) {
        std::array<std::uint8_t, 8> header{};
        if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return std::nullopt;
        const std::uint32_t size = little32(header.data() + 4);
        if (std::memcmp(header.data(), "fmt ", 4) == 0 && size >= 12) {
            std::array<std::uint8_t, 12> format{};
            if (!in.read(reinterpret_cast<char*>(format.data()), format.size()))
                return std::nullopt;
            bytesPerSecond = little32(format.data() + 8);
            in.seekg(static_cast<std::streamoff>(size - 12 + (size & 1)), std::ios::cur);
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (bytesPerSecond == 0) return std::nullopt;
            return static_cast<std::int64_t>(size) * 1000 / bytesPerSecond;
        } else {
            in.seekg(static_cast<std::streamoff>(size + (size & 1)), std::ios::cur);
        }
        if (!in) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace corvan
