#pragma once

// The two files the player keeps in the save folder, and their byte layouts.
//
// A save file `save<s>.cv` (slots 1 to 8) holds one game's script variables, 8256 bytes with no
// header: the 256 flag bytes, then V0-V999 and S0-S999 as signed 32-bit little-endian numbers.
// The place in the story is not stored; a loaded game resumes in the chunk "LOAD".
//
// The seen record `seen.cv` holds what belongs to the player rather than to one game, 768
// bytes: the A-picture marks, the B-picture marks and E0-E255, 256 bytes each. It is only ever
// merged into memory by OR, so it gains bits and never loses them while the file exists.
//
// These functions only turn memory into bytes and back; the game's save and load routines
// (game/saves.cpp) do the file work through the host's file store. Bytes are read one by one with
// bounds checks, so a file of any length gives a defined result.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/variables.h"

namespace corvan::saves {

constexpr std::size_t kFlagsOffset = 0;
constexpr std::size_t kValuesOffset = 256;
constexpr std::size_t kSystemValuesOffset = 4256;
constexpr std::size_t kSaveFileSize = 8256;

constexpr std::size_t kAMarksOffset = 0;
constexpr std::size_t kBMarksOffset = 256;
constexpr std::size_t kPersistentOffset = 512;
constexpr std::size_t kSeenRecordSize = 768;

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 8;
constexpr int kSlotListRows = 9;  // the cancel row, then slots 1 to 8

using Marks = std::array<std::uint8_t, 256>;
using Persistent = std::array<std::int8_t, Variables::kPersistentCount>;

// "save3.cv" for slot 3; "seen.cv".
std::string saveFileName(int slot);
inline constexpr const char* kSeenRecordName = "seen.cv";

// The 8256 bytes of a save file for these variables.
std::string encodeSaveFile(const Variables& vars);

// Takes a save file's bytes into the flags, V and S, in file order, for as many bytes as there
// are: a short file fills only what it holds and the rest keeps its contents (a number cut by
// the end of the file takes only its leading bytes); bytes past 8256 are not looked at.
void decodeSaveFile(std::span<const std::uint8_t> bytes, Variables& vars);

// The 768 bytes of a seen record.
std::string encodeSeenRecord(const Marks& aMarks, const Marks& bMarks, const Persistent& e);

// ORs a seen record's bytes into the marks and E values, as far as the bytes reach.
void mergeSeenRecord(std::span<const std::uint8_t> bytes, Marks& aMarks, Marks& bMarks,
                     Persistent& e);

// The code page 932 labels of the slot list: row 1 the cancel row ("ロードしない" or
// "セーブしない"), row 1 + s slot s: "データ　" and the full-width digit of s - 1 when its file
// is present, "未セーブ" when not. `present[s - 1]` tells whether slot s has a file.
std::string cancelLabel(bool saving);
std::string slotLabel(int slot, bool present);
std::array<std::string, kSlotListRows> slotListLabels(bool saving,
                                                      const std::array<bool, kLastSlot>& present);

}  // namespace corvan::saves
