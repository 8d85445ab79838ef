#pragma once

// The command line shared by the authoring tools: `TOOL COMMAND ARGS...`, with --help and
// --version.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// Runs a tool's command line. No arguments prints `usage` to standard error (exit code 2);
// --help, -h or help prints it to standard output (exit code 0), --version the tool's name and
// version (exit code 0). Anything else goes to
// `dispatch`, which gets every argument (the command first) and returns the exit code, or
// nothing when it does not know the command or its number of arguments: then an error naming
// the command and the usage go to standard error (exit code 2).
int runToolCommand(
    std::string_view tool, std::string_view usage, int argc, char** argv,
    const std::function<std::optional<int>(const std::vector<std::string>& args)>& dispatch);

}  // namespace corvan
