#pragma once

// A settings file in the INI form the game program's own settings store writes: sections in
// brackets, one `key=value` a line. Lines this reader does not understand are kept as they are.
// Saving writes a temporary file beside the old one and renames it over, so the settings are
// never left half written.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

class IniFile {
public:
    // An empty file when `path` does not exist. False when it exists but cannot be read.
    bool load(const std::filesystem::path& path);
    bool save(const std::filesystem::path& path, std::string& error) const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    std::vector<std::string> lines_;
};

}  // namespace corvan
