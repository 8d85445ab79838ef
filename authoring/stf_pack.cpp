#include "authoring/stf_pack.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "engine/archive.h"
#include "engine/ascii.h"
#include "engine/cp932.h"

namespace corvan {

namespace {

constexpr std::size_t kMaxLineBytes = 255;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length of the UTF-8 character at the start of `text`, 0 when it is none.
std::size_t utf8Length(std::string_view text) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t n = b(0) < 0x80                    ? 1
                          : b(0) >= 0xC2 && b(0) <= 0xDF ? 2
                          : b(0) >= 0xE0 && b(0) <= 0xEF ? 3
                          : b(0) >= 0xF0 && b(0) <= 0xF4 ? 4
                                                         : 0;
    if (n == 0 || n > text.size()) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
    }
    return n;
}

// The 1-based line of the first byte that is not UTF-8, 0 when the whole text is.
int firstNonUtf8Line(std::string_view text) {
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text.substr(i));
        if (n == 0) return line;
        if (text[i] == '\n') ++line;
        i += n;
    }
    return 0;
}

// Whether the text reads as Shift-JIS (code page 932): every byte above 0x7F a half-width
// katakana or the lead byte of a pair with a trail byte.
bool looksLikeShiftJis(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
        if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) || i + 1 >= text.size())
            return false;
        const auto t = static_cast<unsigned char>(text[++i]);
        if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    }
    return true;
}

// Script text into NUL-ended lines, every problem listed with its line; a line without a
// Shift-JIS form becomes empty, an over-long one is kept whole. A UTF-8 file that starts with a
// byte order mark, or that is not UTF-8 at all, is named as such once.
std::string convertScriptText(std::string_view text, bool utf8,
                              std::vector<std::pair<int, std::string>>& problems) {
    if (utf8 && text.starts_with(kByteOrderMark)) {
        problems.emplace_back(1,
                              "the file starts with a UTF-8 byte order mark: remove the BOM "
                              "(save the file as UTF-8 without BOM)");
        text.remove_prefix(kByteOrderMark.size());
    }
    if (const int bad = utf8 ? firstNonUtf8Line(text) : 0; bad > 0) {
        problems.emplace_back(
            bad, looksLikeShiftJis(text)
                     ? "the file is not UTF-8 but probably Shift-JIS: convert it with "
                       "\"iconv -f CP932 -t UTF-8\", or name it .sjis to pack it as it is"
                     : "the file is not UTF-8 from this line on: save it as UTF-8");
        utf8 = false;
    }
    std::string out;
    std::size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        ++lineNumber;
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;

        std::string bytes;
        if (utf8) {
            std::size_t bad = 0;
            auto converted = utf8ToCp932(line, &bad);
            if (converted) {
                bytes = std::move(*converted);
            } else {
                const std::size_t n = std::max<std::size_t>(utf8Length(line.substr(bad)), 1);
                problems.emplace_back(lineNumber, "the character " +
                                                      std::string(line.substr(bad, n)) +
                                                      " at byte " + std::to_string(bad + 1) +
                                                      " has no Shift-JIS (code page 932) form");
            }
        } else {
            bytes = std::string(line);
        }
        if (bytes.find('\0') != std::string::npos) {
            problems.emplace_back(lineNumber, "holds a NUL byte");
            bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
        }
        if (bytes.size() > kMaxLineBytes) {
            problems.emplace_back(lineNumber,
                                  std::to_string(bytes.size()) + " bytes, more than the " +
                                      std::to_string(kMaxLineBytes) + " a script line may have");
        }
        out += bytes;
        out.push_back('\0');
    }
    return out;
}

bool readWholeFile(const std::filesystem::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return !in.bad();
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::optional<std::string> scriptLinesFromText(std::string_view text, bool utf8,
                                               std::string& error) {
    std::vector<std::pair<int, std::string>> problems;
    std::string out = convertScriptText(text, utf8, problems);
    if (problems.empty()) return out;
    error = "line " + std::to_string(problems.front().first) + ": " + problems.front().second;
    return std::nullopt;
}

bool readChunkSources(const std::filesystem::path& dir, std::vector<ChunkSource>& chunks,
                      std::vector<std::string>& files, std::vector<SourceProblem>& problems,
                      std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        error = dir.string() + " is not a folder";
        return false;
    }
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (!entry.is_regular_file()) continue;
        const std::string ext = lowerCase(entry.path().extension().string());
        if (ext == ".txt" || ext == ".sjis") paths.push_back(entry.path());
    }
    if (ec) {
        error = "cannot read the folder " + dir.string();
        return false;
    }
    std::sort(paths.begin(), paths.end());

    for (const fs::path& file : paths) {
        const std::string path = file.string();
        const std::string name = file.stem().string();
        if (name.empty() || name.size() > static_cast<std::size_t>(Archive::kMaxNameLength)) {
            problems.push_back({path, 0, "the chunk name \"" + name + "\" must have 1 to 8 bytes"});
        }
        for (const ChunkSource& other : chunks) {
            if (equalIgnoringAsciiCase(other.name, name)) {
                problems.push_back({path, 0,
                                    "a chunk named \"" + other.name +
                                        "\" is already packed; names are compared "
                                        "without letter case"});
            }
        }
        std::string text;
        if (!readWholeFile(file, text)) {
            error = "cannot read " + path;
            return false;
        }
        std::vector<std::pair<int, std::string>> lineProblems;
        std::string bytes =
            convertScriptText(text, lowerCase(file.extension().string()) != ".sjis", lineProblems);
        for (auto& [line, what] : lineProblems) problems.push_back({path, line, std::move(what)});
        if (bytes.size() > static_cast<std::size_t>(Archive::kMaxChunkLength)) {
            problems.push_back({path, 0,
                                std::to_string(bytes.size()) +
                                    " bytes once packed, more than a chunk's " +
                                    std::to_string(Archive::kMaxChunkLength)});
        }
        chunks.push_back({name, std::move(bytes)});
        files.push_back(path);
    }
    return true;
}

std::string textFromScriptLines(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out) {
        if (c == '\0') c = '\n';
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> buildArchive(const std::vector<ChunkSource>& chunks,
                                                      std::string& error) {
    if (chunks.size() > static_cast<std::size_t>(Archive::kEntryCount)) {
        error = std::to_string(chunks.size()) + " chunks, more than the archive's " +
                std::to_string(Archive::kEntryCount);
        return std::nullopt;
    }
    std::vector<std::uint8_t> file(Archive::kDirectorySize, 0);
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const ChunkSource& chunk = chunks[i];
        if (chunk.name.empty() ||
            chunk.name.size() > static_cast<std::size_t>(Archive::kMaxNameLength)) {
            error = "chunk name \"" + chunk.name + "\" must have 1 to 8 bytes";
            return std::nullopt;
        }
        if (chunk.bytes.size() > static_cast<std::size_t>(Archive::kMaxChunkLength)) {
            error = "chunk \"" + chunk.name + "\" has " + std::to_string(chunk.bytes.size()) +
                    " bytes, more than " + std::to_string(Archive::kMaxChunkLength);
            return std::nullopt;
        }
        const std::size_t offset = file.size();
        if (offset + chunk.bytes.size() > 0xFFFFFFu) {
            error = "the archive grows past 16 MiB at chunk \"" + chunk.name + "\"";
            return std::nullopt;
        }
        std::uint8_t* entry = file.data() + i * Archive::kEntrySize;
        for (std::size_t k = 0; k < chunk.name.size(); ++k) {
            entry[k] = static_cast<std::uint8_t>(chunk.name[k]);
        }
        entry[8] = static_cast<std::uint8_t>(offset);
        entry[9] = static_cast<std::uint8_t>(offset >> 8);
        entry[10] = static_cast<std::uint8_t>(offset >> 16);
        entry[12] = static_cast<std::uint8_t>(chunk.bytes.size());
        entry[13] = static_cast<std::uint8_t>(chunk.bytes.size() >> 8);
        const std::size_t dataStart = file.size();
        file.insert(file.end(), chunk.bytes.begin(), chunk.bytes.end());
        negateBytes(file.data() + dataStart, chunk.bytes.size());
    }
    return file;
}

}  // namespace corvan
