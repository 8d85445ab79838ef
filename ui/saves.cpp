// Save files and the seen record: their byte layouts and the slot list's labels.

#include "ui/saves.h"

#include "engine/cp932.h"

namespace corvan {

namespace saves {

namespace {

void putU32LE(std::string& out, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((value >> (8 * k)) & 0xFF));
}

// Replaces the bytes of a little-endian number that lie inside `bytes`, one by one, and keeps
// the others: a file that ends inside a number fills only its leading bytes.
std::int32_t takeU32LE(std::span<const std::uint8_t> bytes, std::size_t offset,
                       std::int32_t former) {
    auto value = static_cast<std::uint32_t>(former);
    for (std::size_t k = 0; k < 4; ++k) {
        if (offset + k >= bytes.size()) break;
        const unsigned shift = static_cast<unsigned>(8 * k);
        value =
            (value & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(bytes[offset + k]) << shift);
    }
    return static_cast<std::int32_t>(value);
}

void decodeNumbers(std::span<const std::uint8_t> bytes, std::size_t offset,
                   std::array<std::int32_t, Variables::kValueCount>& into) {
    for (std::size_t i = 0; i < into.size(); ++i) {
        const std::size_t at = offset + 4 * i;
        if (at >= bytes.size()) return;
        into[i] = takeU32LE(bytes, at, into[i]);
    }
}

std::string cp932(const char* utf8) {
    return utf8ToCp932(utf8).value_or("");
}

}  // namespace

std::string saveFileName(int slot) {
    return "save" + std::to_string(slot) + ".cv";
}

std::string encodeSaveFile(const Variables& vars) {
    std::string out;
    out.reserve(kSaveFileSize);
    for (const std::uint8_t b : vars.flagBytes()) out.push_back(static_cast<char>(b));
    for (const std::int32_t v : vars.values()) putU32LE(out, static_cast<std::uint32_t>(v));
    for (const std::int32_t s : vars.systemValues()) putU32LE(out, static_cast<std::uint32_t>(s));
    return out;
}

void decodeSaveFile(std::span<const std::uint8_t> bytes, Variables& vars) {
    auto& flags = vars.flagBytes();
    for (std::size_t i = 0; i < flags.size() && kFlagsOffset + i < bytes.size(); ++i) {
        flags[i] = bytes[kFlagsOffset + i];
    }
    decodeNumbers(bytes, kValuesOffset, vars.values());
    decodeNumbers(bytes, kSystemValuesOffset, vars.systemValues());
}

std::string encodeSeenRecord(const Marks& aMarks, const Marks& bMarks, const Persistent& e) {
    std::string out;
    out.reserve(kSeenRecordSize);
    for (const std::uint8_t b : aMarks) out.push_back(static_cast<char>(b));
    for (const std::uint8_t b : bMarks) out.push_back(static_cast<char>(b));
    for (const std::int8_t v : e) out.push_back(static_cast<char>(v));
    return out;
}

void mergeSeenRecord(std::span<const std::uint8_t> bytes, Marks& aMarks, Marks& bMarks,
                     Persistent& e) {
    for (std::size_t i = 0; i < 256; ++i) {
        if (kAMarksOffset + i < bytes.size()) aMarks[i] |= bytes[kAMarksOffset + i];
        if (kBMarksOffset + i < bytes.size()) bMarks[i] |= bytes[kBMarksOffset + i];
        if (kPersistentOffset + i < bytes.size()) {
            e[i] = static_cast<std::int8_t>(static_cast<std::uint8_t>(e[i]) |
                                            bytes[kPersistentOffset + i]);
        }
    }
}

std::string cancelLabel(bool saving) {
    return cp932(saving ? "セーブしない" : "ロードしない");
}

// The digit shown is the one of s - 1, as the game has always shown it: slot 1 (save1.cv) reads
// データ　０ and slot 8 reads データ　７.
std::string slotLabel(int slot, bool present) {
    if (!present) return cp932("未セーブ");
    std::string label = cp932("データ　１");
    label[label.size() - 1] = static_cast<char>(0x4E + slot);
    return label;
}

std::array<std::string, kSlotListRows> slotListLabels(bool saving,
                                                      const std::array<bool, kLastSlot>& present) {
    std::array<std::string, kSlotListRows> labels;
    labels[0] = cancelLabel(saving);
    for (int s = kFirstSlot; s <= kLastSlot; ++s) {
        labels[static_cast<std::size_t>(s)] =
            slotLabel(s, present[static_cast<std::size_t>(s - 1)]);
    }
    return labels;
}

}  // namespace saves

}  // namespace corvan
