#include "engine/file_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace corvan {

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error) {
    const std::string temporary = path.string() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot write " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    const int savedErrno = errno;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        error = "cannot write " + path.string() + ": " + std::strerror(savedErrno ? savedErrno : errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace corvan
