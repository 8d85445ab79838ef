#include "settings/settings_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "engine/file_write.h"
#include "settings/ini_text.h"

namespace corvan {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFileName = "Brackwell.ini";

fs::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    if (const passwd* user = ::getpwuid(::getuid())) return user->pw_dir;
    return "/";
}

}  // namespace

fs::path SettingsFile::defaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path folder = config != nullptr ? fs::path(config) : fs::path();
    if (!folder.is_absolute()) folder = homeFolder() / ".config";
    return folder / kFileName;
}

SettingsFile::SettingsFile(fs::path path) : path_(std::move(path)) {}

std::optional<std::string> SettingsFile::readText(std::string& error) const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return std::string();
    std::string text;
    int failure = fd < 0 ? errno : 0;
    char buffer[4096];
    while (failure == 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failure = errno;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    if (fd >= 0) ::close(fd);
    if (failure != 0) {
        error = "cannot read " + path_.string() + ": " + std::strerror(failure);
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> SettingsFile::read(std::string_view name) const {
    std::string error;
    const auto text = readText(error);
    if (!text) return std::nullopt;
    return iniValue(*text, kSettingsSection, name);
}

bool SettingsFile::write(std::string_view name, std::string_view value, std::string& error) const {
    if (!storableIniValue(value)) {
        error = "cannot write " + path_.string() + ": the value of " + std::string(name) +
                " begins or ends with a blank or holds a line break";
        return false;
    }
    // A file that cannot be read is not replaced: what the player wrote there would be lost.
    const auto text = readText(error);
    if (!text) return false;
    const std::string changed = withIniValue(*text, kSettingsSection, name, value);
    if (changed == *text) return true;
    std::error_code ec;
    if (path_.has_parent_path()) fs::create_directories(path_.parent_path(), ec);
    return writeFileAtomically(path_, changed, error);
}

}  // namespace corvan
