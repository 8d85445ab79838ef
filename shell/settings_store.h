#pragma once

// The per-user settings store of the game: the section "Corvan" of `Brackwell.ini` in the
// user's config folder. Every value is a string. Each access opens the file afresh, so that a
// change made by another program (the updater, a text editor) in between is seen.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace corvan::shell {

class SettingsStore {
public:
    // `$XDG_CONFIG_HOME/Brackwell.ini`, or `~/.config/Brackwell.ini` when that variable is unset,
    // empty or not an absolute path.
    static QString defaultPath();

    explicit SettingsStore(QString path = defaultPath());

    const QString& path() const { return path_; }

    // The stored string, or nullopt when the value was never written. A value that the file
    // holds as a comma-separated list (written unquoted by another program) comes back whole.
    std::optional<std::string> read(std::string_view name) const;
    // Stores the string at once; false when the file cannot be written.
    bool write(std::string_view name, std::string_view value);

private:
    QString path_;
};

}  // namespace corvan::shell
