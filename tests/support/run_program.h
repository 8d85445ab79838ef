#pragma once

// Running a built program as its own process, the way a user runs it from a shell, and
// capturing what it printed and how it ended.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvan::test {

struct ProgramRun {
    int exitCode = -1;
    bool signalled = false;  // ended by a signal rather than exiting
    std::string out;
    std::string err;
};

struct ProgramOptions {
    // Text given as standard input; none means /dev/null.
    std::optional<std::string> input;
    // Names and values set in the program's environment.
    std::vector<std::pair<std::string, std::string>> environment;
};

// `text` quoted for /bin/sh as one word.
std::string shellQuote(const std::string& text);

// Runs `program` with `args` in `workDir` and returns its exit code and output. A run that
// takes longer than 30 s is ended and reported as exit code 124. The files that carry the
// standard streams are made in `workDir` and removed again.
ProgramRun runProgram(const std::filesystem::path& program, const std::filesystem::path& workDir,
                      const std::vector<std::string>& args, const ProgramOptions& options = {});

}  // namespace corvan::test
