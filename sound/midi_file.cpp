#include "sound/midi_file.h"

#include <algorithm>
#include <map>

namespace corvan::sound {

namespace {

constexpr char kNotMidi[] = "標準 MIDI ファイルではありません。";
constexpr char kCutShort[] = "MIDI ファイルが途中で切れています。";
constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds a quarter note: 120 a minute

class Reader {
public:
    Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool has(std::size_t count) const { return bytes_.size() - at_ >= count; }
    bool atEnd() const { return at_ >= bytes_.size(); }
    std::size_t position() const { return at_; }
    std::uint8_t peek() const { return bytes_[at_]; }
    std::uint8_t u8() { return bytes_[at_++]; }
    std::uint32_t u16() {
        const std::uint32_t high = u8();
        return high << 8 | u8();
    }
    std::uint32_t u32() {
        const std::uint32_t high = u16();
        return high << 16 | u16();
    }
    bool skip(std::size_t count) {
        if (!has(count)) return false;
        at_ += count;
        return true;
    }
    // A variable-length quantity: at most four bytes of seven bits.
    std::optional<std::uint32_t> vlq() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            if (atEnd()) return std::nullopt;
            const std::uint8_t b = u8();
            value = value << 7 | (b & 0x7F);
            if ((b & 0x80) == 0) return value;
        }
        return std::nullopt;
    }
    std::span<const std::uint8_t> take(std::size_t count) {
        const auto part = bytes_.subspan(at_, count);
        at_ += count;
        return part;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

bool tagIs(std::span<const std::uint8_t> bytes, std::size_t at, const char (&tag)[5]) {
    return bytes.size() >= at + 4 && std::equal(tag, tag + 4, bytes.begin() + at);
}

// The "data" chunk of a RIFF RMID file, or the bytes as they are.
std::span<const std::uint8_t> unwrapRiff(std::span<const std::uint8_t> file) {
    if (!tagIs(file, 0, "RIFF") || !tagIs(file, 8, "RMID")) return file;
    // A chunk of odd size is followed by a pad byte, which the last chunk of a file may lack:
    // `at` can then stand one past the end, so it is compared before anything is subtracted.
    std::size_t at = 12;
    while (at <= file.size() && file.size() - at >= 8) {
        const std::uint32_t size = file[at + 4] | file[at + 5] << 8 | file[at + 6] << 16 |
                                   static_cast<std::uint32_t>(file[at + 7]) << 24;
        if (tagIs(file, at, "data"))
            return file.subspan(at + 8, std::min<std::size_t>(size, file.size() - at - 8));
        if (size > file.size() - at - 8) break;
        at += 8 + size + (size & 1);
    }
    return {};
}

// Walks one track's events; false when they run past the track's end.
bool readTrack(Reader in, std::uint64_t& endTick, std::map<std::uint64_t, std::uint32_t>& tempos) {
    std::uint64_t tick = 0;
    std::uint8_t status = 0;
    while (!in.atEnd()) {
        const auto delta = in.vlq();
        if (!delta || in.atEnd()) return false;
        tick += *delta;
        if (in.peek() & 0x80) status = in.u8();
        if (status == 0xFF) {
            if (!in.has(1)) return false;
            const std::uint8_t type = in.u8();
            const auto length = in.vlq();
            if (!length || !in.has(*length)) return false;
            const auto data = in.take(*length);
            if (type == 0x51 && data.size() == 3) {
                tempos[tick] = static_cast<std::uint32_t>(data[0] << 16 | data[1] << 8 | data[2]);
            }
            if (type == 0x2F) break;
        } else if (status == 0xF0 || status == 0xF7) {
            const auto length = in.vlq();
            if (!length || !in.skip(*length)) return false;
        } else if (status >= 0x80) {
            const std::uint8_t kind = status & 0xF0;
            if (!in.skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2)) return false;
        } else {
            return false;  // data with no status to run on
        }
    }
    endTick = std::max(endTick, tick);
    return true;
}

}  // namespace

std::optional<double> midiLengthSeconds(std::span<const std::uint8_t> file, std::string& error) {
    const auto bytes = unwrapRiff(file);
    Reader in(bytes);
    if (!tagIs(bytes, 0, "MThd") || !in.skip(4) || !in.has(4)) {
        error = kNotMidi;
        return std::nullopt;
    }
    const std::uint32_t headerLength = in.u32();
    if (headerLength < 6 || !in.has(headerLength)) {
        error = kNotMidi;
        return std::nullopt;
    }
    in.u16();  // the format: every track is timed from the start whichever it is
    const std::uint32_t tracks = in.u16();
    const std::uint32_t division = in.u16();
    in.skip(headerLength - 6);
    if (division == 0 || tracks == 0) {
        error = kNotMidi;
        return std::nullopt;
    }

    std::uint64_t endTick = 0;
    std::map<std::uint64_t, std::uint32_t> tempos;
    std::uint32_t found = 0;
    while (found < tracks && in.has(8)) {
        const bool isTrack = tagIs(bytes, in.position(), "MTrk");
        in.skip(4);
        const std::uint32_t length = in.u32();
        if (!in.has(length)) {
            error = kCutShort;
            return std::nullopt;
        }
        const auto body = in.take(length);
        if (!isTrack) continue;  // chunks of unknown kinds are passed over
        ++found;
        if (!readTrack(Reader(body), endTick, tempos)) {
            error = kCutShort;
            return std::nullopt;
        }
    }
    if (found == 0) {
        error = kCutShort;
        return std::nullopt;
    }

    if (division & 0x8000) {
        // Time code: frames a second (as a negative byte) times ticks a frame.
        const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
        const int ticksPerFrame = static_cast<int>(division & 0xFF);
        if (framesPerSecond <= 0 || ticksPerFrame == 0) {
            error = kNotMidi;
            return std::nullopt;
        }
        return static_cast<double>(endTick) / (framesPerSecond * ticksPerFrame);
    }
    double seconds = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = kDefaultTempo;
    for (const auto& [at, next] : tempos) {
        if (at >= endTick) break;
        seconds += static_cast<double>(at - tick) * tempo / 1e6 / division;
        tick = at;
        tempo = next;
    }
    seconds += static_cast<double>(endTick - tick) * tempo / 1e6 / division;
    return seconds;
}

}  // namespace corvan::sound
