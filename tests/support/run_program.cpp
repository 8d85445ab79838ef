#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "support/test_archive.h"

namespace corvan::test {

namespace fs = std::filesystem;

std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out.push_back(c);
        }
    }
    return out + "'";
}

ProgramRun runProgram(const fs::path& program, const fs::path& workDir,
                      const std::vector<std::string>& args, const ProgramOptions& options) {
    const fs::path in = workDir / ".stdin";
    const fs::path out = workDir / ".stdout";
    const fs::path err = workDir / ".stderr";
    std::string command = "cd " + shellQuote(workDir.string()) + " &&";
    for (const auto& [name, value] : options.environment)
        command += " " + name + "=" + shellQuote(value);
    command += " timeout 30 " + shellQuote(program.string());
    for (const std::string& arg : args) command += " " + shellQuote(arg);
    if (options.input) {
        std::ofstream(in, std::ios::binary | std::ios::trunc) << *options.input;
        command += " <" + shellQuote(in.string());
    } else {
        command += " </dev/null";
    }
    command += " >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string());
    const int status = std::system(command.c_str());
    ProgramRun run;
    if (WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    } else {
        run.signalled = true;
    }
    run.out = readText(out);
    run.err = readText(err);
    if (options.input) fs::remove(in);
    fs::remove(out);
    fs::remove(err);
    return run;
}

}  // namespace corvan::test
