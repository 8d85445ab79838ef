#include "render/prs.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace corvan {

namespace {

constexpr std::array<int, 16> kLengths = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 24, 32, 64, 128};

constexpr std::size_t kMaxGroupInput = 1 + 8 * 2;
constexpr std::size_t kMaxGroupOutput = 8 * 128;
// A group is decoded without looking at the input's end when this much input is left: the
// group itself and the 8 bytes that a run of literals is copied with.
constexpr std::ptrdiff_t kFastGroupInput = kMaxGroupInput + 8;
// The zero window, the largest picture, one group past its end, and the 16 bytes that block
// copies may write beyond a reference.
constexpr std::size_t kBufferSize = kPrsWindowSize + kMaxPrsDecodedSize + kMaxGroupOutput + 16;

std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

void store64(std::uint8_t* p, std::uint64_t v) {
    std::memcpy(p, &v, 8);
}

// For a distance under 16: the largest whole number of periods in 16 bytes, and where in its
// period the pattern's byte 8 falls.
constexpr std::array<std::uint8_t, 16> kPatternStep = {16, 16, 16, 15, 16, 15, 12, 14,
                                                       8,  9,  10, 11, 12, 13, 14, 15};
constexpr std::array<std::uint8_t, 8> kPhaseOfByte8 = {0, 0, 0, 2, 0, 3, 2, 1};

// A reference closer than 16 bytes repeats its last `distance` bytes. Their pattern is built in
// two words from the bytes already there, then stored in 16-byte blocks that each start a whole
// number of periods on, so that no block has to wait for the one stored just before it.
void repeatPattern(std::uint8_t* out, std::size_t distance, int length) {
    const std::uint8_t* from = out - distance;
    if constexpr (std::endian::native != std::endian::little) {
        for (int i = 0; i < length; ++i) out[i] = from[i];
        return;
    }
    std::uint64_t low = 0;
    std::uint64_t high;
    if (distance < 8) {
        // Bytes 0-7 of the pattern: the period, doubled until it fills the word. Its bytes are
        // read one by one: they were mostly written moments ago, and a byte is served straight
        // from the store that wrote it, where a wider read straddling two stores would wait.
        for (std::size_t i = 0; i < distance; ++i) low |= std::uint64_t{from[i]} << (8 * i);
        for (std::size_t shift = 8 * distance; shift < 64; shift *= 2) low |= low << shift;
        // Bytes 8-15 start at byte 8's phase: the word shifted down by it, its top filled from
        // the word's start.
        const unsigned phase = kPhaseOfByte8[distance];
        high = phase == 0 ? low : low >> (8 * phase) | low << (8 * (8 - 2 * phase));
    } else {
        // The first 8 bytes lie wholly before the output; bytes 8-15 are the rest of the
        // period followed by its start again.
        low = load64(from);
        const unsigned rest = 8 * static_cast<unsigned>(distance - 8);
        high =
            rest == 0 ? low : (load64(from + 8) & ((std::uint64_t{1} << rest) - 1)) | low << rest;
    }
    const int step = kPatternStep[distance];
    for (int i = 0; i < length; i += step) {
        store64(out + i, low);
        store64(out + i + 8, high);
    }
}

// One back-reference, copied within the output, which doubles as the ring window: the output
// sits behind kPrsWindowSize zero bytes, so a distance reaching before the first byte reads
// the window's initial zeros and distance 0 reads the byte 16 KiB back, exactly as the ring
// would. The copy may write up to 15 bytes past its end; the buffer has room for that.
inline std::uint8_t* copyReference(std::uint8_t* out, std::uint8_t b1, std::uint8_t b2) {
    const int length = kLengths[b1 & 0x0F];
    std::size_t distance = static_cast<std::size_t>(b1 >> 4) | static_cast<std::size_t>(b2) << 4;
    if (distance == 0) distance = kPrsWindowSize;
    if (distance >= 16) {
        const std::uint8_t* from = out - distance;
        if (length <= 16 || distance < 32) {
            for (int i = 0; i < length; i += 16) std::memcpy(out + i, from + i, 16);
        } else {
            for (int i = 0; i < length; i += 32) std::memcpy(out + i, from + i, 32);
        }
    } else {
        repeatPattern(out, distance, length);
    }
    return out + length;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> PrsDecoder::decode(std::span<const std::uint8_t> file,
                                                                std::string& error) {
    if (file.size() < kPrsHeaderSize) {
        error = "PRS header is cut short";
        return std::nullopt;
    }
    const std::uint32_t size = file[2] | file[3] << 8 | file[4] << 16;
    if (size > kMaxPrsDecodedSize) {
        error = "PRS picture decodes to " + std::to_string(size) + " bytes, more than " +
                std::to_string(kMaxPrsDecodedSize);
        return std::nullopt;
    }
    // Made zero once: the window part before the output is never written.
    if (buffer_.empty()) buffer_.assign(kBufferSize, 0);
    std::uint8_t* const start = buffer_.data() + kPrsWindowSize;
    std::uint8_t* const target = start + size;
    std::uint8_t* out = start;
    const std::uint8_t* in = file.data() + kPrsHeaderSize;
    const std::uint8_t* const end = file.data() + file.size();
    // Takes the output position by value: were it captured, the decoding loop would keep it in
    // memory instead of a register.
    auto truncated = [&error, start, size](const std::uint8_t* at) {
        const auto produced = std::min<std::size_t>(static_cast<std::size_t>(at - start), size);
        error = "PRS stream ends after " + std::to_string(produced) + " of " +
                std::to_string(size) + " bytes";
        return std::nullopt;
    };
    // A group is always read whole, as the game did, even when its first items already reach
    // the decoded size; what it produces beyond that size is dropped at the end. Input that
    // runs out once the picture is complete only cuts off such items; before that, the file is
    // damaged.
    do {
        if (end - in >= kFastGroupInput) {
            // Each run of literals is one 8-byte copy, advanced by the run's length.
            std::uint32_t flags = std::uint32_t{*in++} << 24;
            int items = 8;
            for (;;) {
                const int run = std::min(std::countl_zero(flags), items);
                std::memcpy(out, in, 8);
                out += run;
                in += run;
                items -= run;
                if (items == 0) break;
                out = copyReference(out, in[0], in[1]);
                in += 2;
                flags <<= run + 1;
                --items;
            }
            continue;
        }
        // Near the end of the input every item is checked before it is read.
        if (in >= end) {
            if (out < target) return truncated(out);
            break;
        }
        const std::uint8_t flags = *in++;
        for (int bit = 7; bit >= 0; --bit) {
            const bool reference = (flags >> bit & 1) != 0;
            if (end - in < (reference ? 2 : 1)) {
                if (out < target) return truncated(out);
                break;
            }
            if (!reference) {
                *out++ = *in++;
                continue;
            }
            out = copyReference(out, in[0], in[1]);
            in += 2;
        }
    } while (out < target);
    return std::span<const std::uint8_t>(start, size);
}

std::optional<std::vector<std::uint8_t>> decodePrsBytes(std::span<const std::uint8_t> file,
                                                        std::string& error) {
    PrsDecoder decoder;
    const auto decoded = decoder.decode(file, error);
    if (!decoded) return std::nullopt;
    return std::vector<std::uint8_t>(decoded->begin(), decoded->end());
}

namespace {

constexpr std::size_t kMaxDistance = 4095;
constexpr int kMaxLength = 128;
constexpr int kChainDepth = 96;
constexpr std::size_t kHashSize = 1 << 15;

std::size_t hash3(const std::uint8_t* p) {
    return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & (kHashSize - 1);
}

// The longest length the format can express that does not exceed `n` (n >= 3).
int codableLength(int n) {
    int best = 3;
    for (int length : kLengths) {
        if (length <= n) best = length;
    }
    return best;
}

int lengthCode(int length) {
    for (int i = 0; i < 16; ++i) {
        if (kLengths[i] == length) return i;
    }
    return 0;
}

// Collects items into groups of one flag byte and eight items.
class GroupWriter {
public:
    explicit GroupWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void literal(std::uint8_t byte) {
        startItem(false);
        out_.push_back(byte);
    }
    void reference(std::size_t distance, int length) {
        startItem(true);
        out_.push_back(static_cast<std::uint8_t>((distance & 0x0F) << 4 | lengthCode(length)));
        out_.push_back(static_cast<std::uint8_t>(distance >> 4));
    }
    // Fills the last group up with literal zeros: a reader always takes eight items.
    void finish() {
        if (count_ == 0) literal(0);
        while (count_ % 8 != 0) literal(0);
    }

private:
    void startItem(bool reference) {
        if (count_ % 8 == 0) {
            flagAt_ = out_.size();
            out_.push_back(0);
        }
        if (reference) out_[flagAt_] |= static_cast<std::uint8_t>(0x80 >> (count_ % 8));
        ++count_;
    }
    std::vector<std::uint8_t>& out_;
    std::size_t flagAt_ = 0;
    std::size_t count_ = 0;
};

}  // namespace

std::vector<std::uint8_t> encodePrsBytes(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out(kPrsHeaderSize, 0);
    const auto size = static_cast<std::uint32_t>(data.size());
    out[2] = static_cast<std::uint8_t>(size);
    out[3] = static_cast<std::uint8_t>(size >> 8);
    out[4] = static_cast<std::uint8_t>(size >> 16);

    std::vector<std::int32_t> head(kHashSize, -1);
    std::vector<std::int32_t> previous(data.size(), -1);
    auto insert = [&](std::size_t p) {
        if (p + 3 > data.size()) return;
        const std::size_t h = hash3(data.data() + p);
        previous[p] = head[h];
        head[h] = static_cast<std::int32_t>(p);
    };

    GroupWriter writer(out);
    std::size_t p = 0;
    while (p < data.size()) {
        int bestLength = 0;
        std::size_t bestDistance = 0;
        if (p + 3 <= data.size()) {
            const int limit = static_cast<int>(std::min<std::size_t>(kMaxLength, data.size() - p));
            std::int32_t candidate = head[hash3(data.data() + p)];
            for (int depth = 0; candidate >= 0 && depth < kChainDepth; ++depth) {
                const std::size_t q = static_cast<std::size_t>(candidate);
                if (p - q > kMaxDistance) break;
                int n = 0;
                while (n < limit && data[q + n] == data[p + n]) ++n;
                if (n > bestLength) {
                    bestLength = n;
                    bestDistance = p - q;
                    if (n == limit) break;
                }
                candidate = previous[q];
            }
        }
        if (bestLength >= 3) {
            const int length = codableLength(bestLength);
            writer.reference(bestDistance, length);
            for (int i = 0; i < length; ++i) insert(p + i);
            p += static_cast<std::size_t>(length);
        } else {
            writer.literal(data[p]);
            insert(p);
            ++p;
        }
    }
    writer.finish();
    return out;
}

}  // namespace corvan
