#include "tools/stf_pack.h"

#include "engine/archive.h"
#include "engine/cp932.h"

namespace corvan {

namespace {
constexpr std::size_t kMaxLineBytes = 255;
}

std::optional<std::string> scriptLinesFromText(std::string_view text, bool utf8,
                                               std::string& error) {
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
            if (!converted) {
                error = "line " + std::to_string(lineNumber) + ": the text at byte " +
                        std::to_string(bad + 1) + " has no Shift-JIS (code page 932) form";
                return std::nullopt;
            }
            bytes = std::move(*converted);
        } else {
            bytes = std::string(line);
        }
        if (bytes.find('\0') != std::string::npos) {
            error = "line " + std::to_string(lineNumber) + ": holds a NUL byte";
            return std::nullopt;
        }
        if (bytes.size() > kMaxLineBytes) {
            error = "line " + std::to_string(lineNumber) + ": " + std::to_string(bytes.size()) +
                    " bytes, more than the " + std::to_string(kMaxLineBytes) +
                    " a script line may have";
            return std::nullopt;
        }
        out += bytes;
        out.push_back('\0');
    }
    return out;
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
        if (chunk.name.empty() || chunk.name.size() > static_cast<std::size_t>(Archive::kMaxNameLength)) {
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
