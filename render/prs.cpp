#include "render/prs.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace corvan {

namespace {
constexpr std::array<int, 16> kLengths = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 24, 32, 64, 128};
}  // namespace

namespace {

// One back-reference, copied within the output, which doubles as the ring window: the output
// sits behind kPrsWindowSize zero bytes, so a distance reaching before the first byte reads
// the window's initial zeros and distance 0 reads the byte 16 KiB back, exactly as the ring
// would. The copy may write up to 15 bytes past its end; the buffer has room for that.
inline void copyReference(std::uint8_t* out, std::size_t distance, int length) {
    if (distance == 0) distance = kPrsWindowSize;
    const std::uint8_t* from = out - distance;
    if (distance >= 16) {
        for (int i = 0; i < length; i += 16) std::memcpy(out + i, from + i, 16);
        return;
    }
    // A short distance repeats its bytes: lay down one period widened to 16 bytes or more, then
    // copy in blocks that never overlap what they read.
    const int period = static_cast<int>(distance * ((16 + distance - 1) / distance));
    const int head = std::min(period, length);
    for (int i = 0; i < head; ++i) out[i] = from[i];
    for (int i = head; i < length; i += 16) std::memcpy(out + i, out + i - period, 16);
}

constexpr std::size_t kMaxGroupInput = 1 + 8 * 2;
constexpr std::size_t kMaxGroupOutput = 8 * 128;

}  // namespace

std::optional<std::vector<std::uint8_t>> decodePrsBytes(std::span<const std::uint8_t> file,
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
    // The zero window, the picture, one group past its end, and the block copies' overrun.
    std::vector<std::uint8_t> buffer(kPrsWindowSize + size + kMaxGroupOutput + 16, 0);
    std::uint8_t* out = buffer.data() + kPrsWindowSize;
    std::size_t produced = 0;
    std::size_t in = kPrsHeaderSize;
    const std::uint8_t* bytes = file.data();
    auto truncated = [&] {
        error = "PRS stream ends after " + std::to_string(std::min<std::size_t>(produced, size)) +
                " of " + std::to_string(size) + " bytes";
        return std::nullopt;
    };
    // A group is always read whole, as the game did, even when its first items already reach
    // the decoded size; what it produces beyond that size is dropped at the end. Input that
    // runs out once the picture is complete only cuts off such items; before that, the file is
    // damaged.
    do {
        const bool wholeGroup = in + kMaxGroupInput <= file.size();
        if (!wholeGroup && in >= file.size()) {
            if (produced < size) return truncated();
            break;
        }
        const std::uint8_t flags = bytes[in++];
        for (int bit = 7; bit >= 0; --bit) {
            const bool reference = (flags >> bit & 1) != 0;
            if (!wholeGroup && in + (reference ? 2 : 1) > file.size()) {
                if (produced < size) return truncated();
                break;
            }
            if (!reference) {
                out[produced++] = bytes[in++];
                continue;
            }
            const std::uint8_t b1 = bytes[in];
            const std::uint8_t b2 = bytes[in + 1];
            in += 2;
            const int length = kLengths[b1 & 0x0F];
            copyReference(out + produced, (b1 >> 4) + (static_cast<std::size_t>(b2) << 4),
                          length);
            produced += static_cast<std::size_t>(length);
        }
    } while (produced < size);
    return std::vector<std::uint8_t>(out, out + size);
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
