#include "engine/file_lookup.h"

#include <system_error>
#include <vector>

#include "engine/ascii.h"
#include "engine/system_files.h"

namespace corvan {

namespace {

std::vector<std::string> splitComponents(std::string_view relative) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : relative) {
        if (c == '/' || c == '\\') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

}  // namespace

std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& base,
                                                      std::string_view relative) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path current = base;
    for (const std::string& part : splitComponents(relative)) {
        fs::path exact = current / part;
        if (fs::exists(exact, ec)) {
            current = std::move(exact);
            continue;
        }
        bool found = false;
        for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
            if (equalIgnoringAsciiCase(it->path().filename().string(), part)) {
                current = it->path();
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    if (!fs::exists(current, ec)) return std::nullopt;
    return current;
}

std::optional<std::filesystem::path> findScriptFile(const std::filesystem::path& base,
                                                    std::string_view cp932Relative) {
    return findScriptFile(systemFiles(), base, cp932Relative);
}

}  // namespace corvan
