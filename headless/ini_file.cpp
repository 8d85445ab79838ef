#include "headless/ini_file.h"

#include "engine/file_write.h"

#include <fstream>
#include <sstream>

namespace corvan {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool isSection(std::string_view line, std::string_view* name) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
    *name = line.substr(1, line.size() - 2);
    return true;
}

bool splitKey(std::string_view line, std::string_view* key, std::string_view* value) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    *key = trim(line.substr(0, eq));
    *value = trim(line.substr(eq + 1));
    return true;
}

// Values the Qt settings store quotes keep their quotes off when read.
std::string unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}  // namespace

bool IniFile::load(const std::filesystem::path& path) {
    lines_.clear();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return true;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
    }
    return !in.bad();
}

bool IniFile::save(const std::filesystem::path& path, std::string& error) const {
    return writeFileAtomically(path, text(), error);
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    std::string_view current;
    for (const std::string& line : lines_) {
        std::string_view name;
        if (isSection(line, &name)) {
            current = name;
            continue;
        }
        std::string_view k, v;
        if (current == section && splitKey(line, &k, &v) && k == key) return unquote(v);
    }
    return std::nullopt;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string newLine = std::string(key) + "=" + std::string(value);
    std::size_t begin = 0;  // first line after the section's header
    bool found = false;
    for (std::size_t i = 0; i < lines_.size() && !found; ++i) {
        std::string_view name;
        if (isSection(lines_[i], &name) && name == section) {
            begin = i + 1;
            found = true;
        }
    }
    if (!found) {
        if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(newLine);
        return;
    }
    std::size_t end = begin;
    for (std::string_view name; end < lines_.size() && !isSection(lines_[end], &name);) ++end;
    for (std::size_t i = begin; i < end; ++i) {
        std::string_view k, v;
        if (splitKey(lines_[i], &k, &v) && k == key) {
            lines_[i] = newLine;
            return;
        }
    }
    while (end > begin && trim(lines_[end - 1]).empty()) --end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), newLine);
}

std::string IniFile::text() const {
    std::ostringstream out;
    for (const std::string& line : lines_) out << line << '\n';
    return out.str();
}

}  // namespace corvan
