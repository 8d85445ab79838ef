#include "engine/system_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "engine/file_lookup.h"
#include "engine/file_write.h"

namespace corvan {

namespace {

// Opens a regular file for reading, or gives -1. O_NONBLOCK keeps a fifo put there by mistake
// from hanging the game; it changes nothing for a regular file.
int openRegularFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<std::filesystem::path> SystemFiles::find(const std::filesystem::path& base,
                                                       std::string_view relative) {
    return findIgnoringCase(base, relative);
}

FileStatus SystemFiles::status(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    FileStatus out;
    std::error_code ec;
    out.exists = fs::exists(path, ec);
    out.regularFile = fs::is_regular_file(path, ec);
    const auto size = fs::file_size(path, ec);
    if (!ec) {
        out.size = size;
        out.sizeKnown = true;
    }
    return out;
}

bool SystemFiles::opensForReading(const std::filesystem::path& path) {
    const int fd = openRegularFile(path);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool SystemFiles::read(const std::filesystem::path& path, std::uint64_t offset,
                       std::size_t maxBytes, std::vector<std::uint8_t>& bytes) {
    const int fd = openRegularFile(path);
    if (fd < 0) return false;
    bytes.resize(maxBytes);
    std::size_t done = 0;
    while (done < maxBytes) {
        const ssize_t n =
            ::pread(fd, bytes.data() + done, maxBytes - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return true;
}

bool SystemFiles::write(const std::filesystem::path& path, std::string_view bytes,
                        std::string& error) {
    return writeFileAtomically(path, bytes, error);
}

SystemFiles& systemFiles() {
    static SystemFiles files;
    return files;
}

}  // namespace corvan
