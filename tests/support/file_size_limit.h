#pragma once

// A disk that fills up, for tests of writes that fail: while a FileSizeLimit lives, no file of
// the test process grows past the limit, and a write beyond it fails with EFBIG (as root too,
// who may write anywhere else) instead of raising SIGXFSZ.

#include <sys/resource.h>

#include <csignal>

namespace corvan::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : oldSignal_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    void (*oldSignal_)(int);
    rlimit old_{};
};

}  // namespace corvan::test
