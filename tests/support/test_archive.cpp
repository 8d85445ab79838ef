#include "support/test_archive.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace corvan::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvan-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary folder";
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ChunkSource chunk(const std::string& name, const std::string& utf8Text) {
    std::string error;
    auto lines = scriptLinesFromText(utf8Text, true, error);
    if (!lines) ADD_FAILURE() << "chunk " << name << ": " << error;
    return {name, lines.value_or("")};
}

ChunkSource rawChunk(const std::string& name, std::string bytes) {
    return {name, std::move(bytes)};
}

void writeArchive(const std::filesystem::path& file, const std::vector<ChunkSource>& chunks) {
    std::string error;
    const auto bytes = buildArchive(chunks, error);
    if (!bytes) {
        ADD_FAILURE() << "cannot build the archive: " << error;
        return;
    }
    writeBytes(file, *bytes);
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "cannot write " << file;
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    const std::string text = readText(file);
    return {text.begin(), text.end()};
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace corvan::test
