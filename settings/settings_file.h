#pragma once

// The settings file that the game, the updater and the headless player share: `Brackwell.ini`
// in the user's config folder, section [Corvan], every value a string. Nothing is kept in
// memory: every read and every write opens the file afresh, so that programs running at the
// same time (the game and the updater) never write back a stale copy of each other's values.
// A write changes one line (ini_text.h) and replaces the file whole or not at all, through a
// symbolic link to its target, keeping its permissions (engine/file_write.h).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvan {

inline constexpr std::string_view kSettingsSection = "Corvan";

class SettingsFile {
public:
    // `$XDG_CONFIG_HOME/Brackwell.ini`, or `~/.config/Brackwell.ini` when that variable is
    // unset, empty or not an absolute path.
    static std::filesystem::path defaultPath();

    explicit SettingsFile(std::filesystem::path path = defaultPath());

    const std::filesystem::path& path() const { return path_; }

    // The value as written in the section; nullopt when the file, the section or the value is
    // missing, or when the file cannot be read.
    std::optional<std::string> read(std::string_view name) const;

    // Stores the value, creating the folder, the file and the section when missing. False, with
    // `error` naming the file and the file as it was, when it cannot be written or the value
    // would not read back as written (a line break, a blank at either end).
    bool write(std::string_view name, std::string_view value, std::string& error) const;

    // The file's bytes: empty when there is no file, nullopt (with `error`) when there is one
    // that cannot be read.
    std::optional<std::string> readText(std::string& error) const;

private:
    std::filesystem::path path_;
};

}  // namespace corvan
