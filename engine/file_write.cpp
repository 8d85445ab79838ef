#include "engine/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <random>
#include <system_error>

namespace corvan {

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

// The file that `path` finally names, following symbolic links one after another; nullopt for
// a loop. A link to nothing yet gives the file it would name.
std::optional<fs::path> linkTarget(fs::path path) {
    for (int links = 0; links < kMaxLinks; ++links) {
        std::error_code ec;
        if (!fs::is_symlink(path, ec)) return path;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) return path;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

// Creates `<file>.XXXXXX.tmp` with a name no other file has, mode 0644 less the umask.
int createTemporary(const fs::path& file, std::string& name) {
    static thread_local std::mt19937 random{std::random_device{}()};
    constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = file.string() + ".";
        for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
        name += ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// 0 or the errno of the write that failed.
int writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Gives the new file the old one's owner, where allowed (only root may give a file away), and
// then its mode, which a change of owner may have cut.
int keepOwnerAndMode(int fd, const struct stat& old) {
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        [[maybe_unused]] const int given = ::fchown(fd, old.st_uid, old.st_gid);
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

// Makes the folder's new entry for the renamed file durable: without this a power cut soon
// after the rename can bring back the old name's file, or none. 0 or the errno of a sync that
// failed. A folder that may be written but not read cannot be opened to be synced, and a file
// system that cannot sync a folder (EINVAL) keeps its entries by other means: neither is an
// error.
int syncFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    int code = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return code;
}

}  // namespace

bool writeFileAtomically(const fs::path& path, std::string_view bytes, std::string& error) {
    std::string name = path.string();
    auto fail = [&](int code) {
        error = "cannot write " + name + ": " + std::strerror(code);
        return false;
    };
    const auto target = linkTarget(path);
    if (!target) return fail(ELOOP);
    if (*target != path) name += " (a link to " + target->string() + ")";

    struct stat old {};
    const bool replacing = ::stat(target->c_str(), &old) == 0;
    std::string temporary;
    const int fd = createTemporary(*target, temporary);
    if (fd < 0) return fail(errno);
    int code = writeAll(fd, bytes);
    if (code == 0 && replacing) code = keepOwnerAndMode(fd, old);
    if (code == 0 && ::fsync(fd) != 0) code = errno;
    if (::close(fd) != 0 && code == 0) code = errno;
    if (code == 0 && ::rename(temporary.c_str(), target->c_str()) != 0) code = errno;
    if (code != 0) {
        ::unlink(temporary.c_str());
        return fail(code);
    }
    // The new file is in place; a folder that will not sync is still reported, as the file
    // may not survive a power cut.
    code = syncFolder(*target);
    return code == 0 || fail(code);
}

}  // namespace corvan
