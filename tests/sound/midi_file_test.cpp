// How long a standard MIDI file plays, read from its bytes: the loop check trusts this to know
// when a track has played out.

#include "sound/midi_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvan::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putBig(Bytes& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

Bytes track(const Bytes& events) {
    Bytes out = {'M', 'T', 'r', 'k'};
    putBig(out, static_cast<std::uint32_t>(events.size()), 4);
    out.insert(out.end(), events.begin(), events.end());
    return out;
}

Bytes midi(std::uint16_t division, const std::vector<Bytes>& tracks) {
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    putBig(out, static_cast<std::uint32_t>(tracks.size()), 2);
    putBig(out, division, 2);
    for (const Bytes& t : tracks) {
        const Bytes chunk = track(t);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

std::optional<double> length(const Bytes& file) {
    std::string error;
    return sound::midiLengthSeconds(file, error);
}

// A note of 480 ticks (one quarter at 480 a quarter), with running status for its end.
const Bytes kQuarterNote = {0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0, 0x00, 0xFF, 0x2F, 0x00};

TEST(MidiLength, GivenTempoAndTimeCode_ThenTheLengthFollowsThem) {
    // 120 a minute by default: a quarter is half a second.
    EXPECT_DOUBLE_EQ(*length(midi(480, {kQuarterNote})), 0.5);
    // A conductor track halves the tempo after the first quarter of a two-quarter track; the
    // longest track decides.
    const Bytes conductor = {0x83, 0x60, 0xFF, 0x51, 0x03, 0x0F,
                             0x42, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    const Bytes halfNote = {0x00, 0x90, 60, 100, 0x87, 0x40, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_DOUBLE_EQ(*length(midi(480, {conductor, kQuarterNote, halfNote})), 1.5);
    // 25 frames a second, 40 ticks a frame: 480 ticks are 0.48 seconds.
    EXPECT_DOUBLE_EQ(*length(midi(0xE728, {kQuarterNote})), 0.48);
    // The same file wrapped as RIFF RMID, with an odd-sized chunk before its data.
    const Bytes inner = midi(480, {kQuarterNote});
    Bytes riff = {'R', 'I', 'F', 'F', 0,   0,   0,   0,   'R',
                  'M', 'I', 'D', 'x', 'x', 'x', 'x', 1,   0,
                  0,   0,   9,   0,   'd', 'a', 't', 'a', static_cast<std::uint8_t>(inner.size()),
                  0,   0,   0};
    riff.insert(riff.end(), inner.begin(), inner.end());
    EXPECT_DOUBLE_EQ(*length(riff), 0.5);
}

TEST(MidiLength, GivenBytesThatAreNoWholeMidiFile_ThenTheReasonIsGiven) {
    const Bytes good = midi(480, {kQuarterNote});
    struct Case {
        const char* what;
        Bytes bytes;
        const char* reason;
    };
    Bytes cut(good.begin(), good.end() - 3);
    Bytes noStatus = midi(480, {{0x00, 0x40, 0x40}});
    Bytes longNumber = midi(480, {{0xFF, 0xFF, 0xFF, 0xFF, 0x7F}});
    const std::vector<Case> cases = {
        {"empty", {}, "標準 MIDI ファイルではありません。"},
        {"a wave file",
         {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},
         "標準 MIDI ファイルではありません。"},
        {"header only", Bytes(good.begin(), good.begin() + 14),
         "MIDI ファイルが途中で切れています。"},
        {"cut in its track", cut, "MIDI ファイルが途中で切れています。"},
        {"data with no status", noStatus, "MIDI ファイルが途中で切れています。"},
        {"a five-byte number", longNumber, "MIDI ファイルが途中で切れています。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(sound::midiLengthSeconds(c.bytes, error));
        EXPECT_EQ(error, c.reason);
    }
}

TEST(MidiLength, GivenRiffWhoseLastOddChunkFillsTheFile_ThenItIsNoMidiFileAndNothingPastItIsRead) {
    // 21 bytes: RIFF, RMID, and a chunk of one byte with no pad byte after it. The bytes that
    // follow in memory would give a reader stepping past the end a chunk of 4 GiB to skip.
    Bytes memory = {'R', 'I', 'F', 'F', 13,  0, 0, 0, 'R', 'M', 'I',
                    'D', 'a', 'b', 'c', 'd', 1, 0, 0, 0,   'X'};
    const std::size_t fileSize = memory.size();
    memory.insert(memory.end(), {0, 'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0xFF});
    std::string error;
    EXPECT_FALSE(sound::midiLengthSeconds(std::span(memory).first(fileSize), error));
    EXPECT_EQ(error, "標準 MIDI ファイルではありません。");
}

}  // namespace
}  // namespace corvan::test
