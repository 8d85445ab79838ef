#include "authoring/save_reader.h"

#include <cstdio>
#include <set>
#include <sstream>

#include "engine/file_lookup.h"
#include "engine/system_files.h"
#include "engine/variables.h"
#include "ui/saves.h"

namespace corvan {

namespace {

namespace fs = std::filesystem;

std::string sizeNote(std::size_t size, std::size_t expected, const char* what) {
    if (size == expected) return {};
    return std::to_string(size) + " bytes, not the " + std::to_string(expected) + " of " + what +
           (size < expected ? ": what is missing reads as 0, as the game reads it"
                            : ": the game reads only the first " + std::to_string(expected));
}

SaveContents saveContents(const std::vector<std::uint8_t>& bytes, std::size_t fileSize) {
    Variables vars;
    saves::decodeSaveFile(bytes, vars);
    SaveContents out;
    for (std::size_t i = 0; i < vars.flagBytes().size() * 8; ++i) {
        if (vars.flagBytes()[i / 8] & (1u << (i % 8))) out.flags.push_back(static_cast<int>(i));
    }
    for (std::size_t i = 0; i < vars.values().size(); ++i) {
        if (vars.values()[i] != 0) out.values[static_cast<int>(i)] = vars.values()[i];
        if (vars.systemValues()[i] != 0) out.system[static_cast<int>(i)] = vars.systemValues()[i];
    }
    out.note = sizeNote(fileSize, saves::kSaveFileSize, "a save file");
    return out;
}

SeenContents seenContents(const std::vector<std::uint8_t>& bytes, std::size_t fileSize) {
    saves::Marks a{}, b{};
    saves::Persistent e{};
    saves::mergeSeenRecord(bytes, a, b, e);
    SeenContents out;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != 0) out.a.push_back(static_cast<int>(i));
        if (b[i] != 0) out.b.push_back(static_cast<int>(i));
        if (e[i] != 0) out.e[static_cast<int>(i)] = e[i];
    }
    out.note = sizeNote(fileSize, saves::kSeenRecordSize, "a seen record");
    return out;
}

bool readFile(const fs::path& file, std::vector<std::uint8_t>& bytes, std::size_t& size,
              std::string& error) {
    std::error_code ec;
    size = static_cast<std::size_t>(fs::file_size(file, ec));
    if (ec || !systemFiles().read(file, 0, saves::kSaveFileSize, bytes)) {
        error = "cannot read " + file.string();
        return false;
    }
    return true;
}

std::string name(char letter, int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%03d", letter, n);
    return text;
}

void listText(std::ostringstream& out, const char* title, const std::vector<int>& list,
              char letter) {
    out << "  " << title << ":";
    if (list.empty()) out << " none";
    for (int n : list) out << " " << (letter ? name(letter, n) : std::to_string(n));
    out << "\n";
}

void valuesText(std::ostringstream& out, const char* title, const std::map<int, int>& values,
                char letter) {
    out << "  " << title << ":";
    if (values.empty()) out << " none";
    for (const auto& [n, v] : values) out << " " << name(letter, n) << "=" << v;
    out << "\n";
}

std::string listJson(const std::vector<int>& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) out += (i ? ", " : "") + std::to_string(list[i]);
    return out + "]";
}

std::string valuesJson(const std::map<int, int>& values) {
    std::string out = "{";
    for (const auto& [n, v] : values) {
        out += (out.size() > 1 ? ", \"" : "\"") + std::to_string(n) + "\": " + std::to_string(v);
    }
    return out + "}";
}

// One line for each name whose value differs: "V001: 42 -> 43", a missing value being 0.
void diffValues(std::ostringstream& out, const std::map<int, int>& a, const std::map<int, int>& b,
                char letter) {
    std::set<int> names;
    for (const auto& [n, v] : a) names.insert(n);
    for (const auto& [n, v] : b) names.insert(n);
    for (int n : names) {
        const int va = a.contains(n) ? a.at(n) : 0;
        const int vb = b.contains(n) ? b.at(n) : 0;
        if (va != vb) out << name(letter, n) << ": " << va << " -> " << vb << "\n";
    }
}

void diffSets(std::ostringstream& out, const std::vector<int>& a, const std::vector<int>& b,
              char letter, const char* on, const char* off) {
    const std::set<int> sa(a.begin(), a.end()), sb(b.begin(), b.end());
    std::set<int> names = sa;
    names.insert(sb.begin(), sb.end());
    for (int n : names) {
        if (sa.contains(n) != sb.contains(n))
            out << name(letter, n) << ": " << (sa.contains(n) ? on : off) << " -> "
                << (sb.contains(n) ? on : off) << "\n";
    }
}

}  // namespace

bool readSaveFolder(const fs::path& folder, SaveFolder& out, std::string& error) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = folder.string() + " is not a folder";
        return false;
    }
    out = {};
    for (int slot = saves::kFirstSlot; slot <= saves::kLastSlot; ++slot) {
        const auto file = findIgnoringCase(folder, saves::saveFileName(slot));
        if (!file) continue;
        std::vector<std::uint8_t> bytes;
        std::size_t size = 0;
        if (!readFile(*file, bytes, size, error)) return false;
        out.slots[slot] = saveContents(bytes, size);
    }
    if (const auto file = findIgnoringCase(folder, saves::kSeenRecordName)) {
        std::vector<std::uint8_t> bytes;
        std::size_t size = 0;
        if (!readFile(*file, bytes, size, error)) return false;
        out.seen = seenContents(bytes, size);
    }
    return true;
}

std::string saveFolderText(const SaveFolder& folder) {
    std::ostringstream out;
    if (folder.slots.empty()) out << "no save slot is used\n";
    for (const auto& [slot, save] : folder.slots) {
        out << "slot " << slot << " (" << saves::saveFileName(slot) << ")"
            << (save.note.empty() ? "" : ": " + save.note) << "\n";
        listText(out, "flags set", save.flags, 'F');
        valuesText(out, "V values", save.values, 'V');
        valuesText(out, "S values", save.system, 'S');
    }
    if (!folder.seen) {
        out << "no seen record (" << saves::kSeenRecordName << ")\n";
    } else {
        out << "seen record (" << saves::kSeenRecordName << ")"
            << (folder.seen->note.empty() ? "" : ": " + folder.seen->note) << "\n";
        listText(out, "pictures seen, A", folder.seen->a, 0);
        listText(out, "pictures seen, B", folder.seen->b, 0);
        valuesText(out, "E values", folder.seen->e, 'E');
    }
    return out.str();
}

std::string saveFolderJson(const SaveFolder& folder) {
    std::ostringstream out;
    out << "{\"slots\": {";
    bool first = true;
    for (const auto& [slot, save] : folder.slots) {
        out << (first ? "" : ", ") << "\"" << slot << "\": {\"flags\": " << listJson(save.flags)
            << ", \"V\": " << valuesJson(save.values) << ", \"S\": " << valuesJson(save.system)
            << "}";
        first = false;
    }
    out << "}, \"seen\": ";
    if (folder.seen) {
        out << "{\"A\": " << listJson(folder.seen->a) << ", \"B\": " << listJson(folder.seen->b)
            << ", \"E\": " << valuesJson(folder.seen->e) << "}";
    } else {
        out << "null";
    }
    out << "}\n";
    return out.str();
}

bool diffSaveFiles(const fs::path& a, const fs::path& b, std::string& out, std::string& error) {
    std::vector<std::uint8_t> bytesA, bytesB;
    std::size_t sizeA = 0, sizeB = 0;
    if (!readFile(a, bytesA, sizeA, error) || !readFile(b, bytesB, sizeB, error)) return false;
    const bool seenA = sizeA <= saves::kSeenRecordSize, seenB = sizeB <= saves::kSeenRecordSize;
    if (seenA != seenB) {
        error = "one is a seen record and the other a save file: compare files of one kind";
        return false;
    }
    std::ostringstream diff;
    if (seenA) {
        const SeenContents x = seenContents(bytesA, sizeA), y = seenContents(bytesB, sizeB);
        diffSets(diff, x.a, y.a, 'A', "seen", "not seen");
        diffSets(diff, x.b, y.b, 'B', "seen", "not seen");
        diffValues(diff, x.e, y.e, 'E');
    } else {
        const SaveContents x = saveContents(bytesA, sizeA), y = saveContents(bytesB, sizeB);
        diffSets(diff, x.flags, y.flags, 'F', "on", "off");
        diffValues(diff, x.values, y.values, 'V');
        diffValues(diff, x.system, y.system, 'S');
    }
    out = diff.str();
    return true;
}

}  // namespace corvan
