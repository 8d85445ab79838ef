#include "authoring/tool_main.h"

#include <iostream>
#include <string>

#include "corvan_version.h"

namespace corvan {

int runToolCommand(
    std::string_view tool, std::string_view usage, int argc, char** argv,
    const std::function<std::optional<int>(const std::vector<std::string>& args)>& dispatch) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << usage;
        return 2;
    }
    const std::string& command = args[0];
    if (command == "help") {
        std::cout << usage;
        return 0;
    }
    if (answerHelpOrVersion(command, std::string(tool).c_str(), usage)) return 0;
    if (const auto code = dispatch(args)) return *code;
    std::cerr << tool << ": unknown command or wrong arguments: " << command << "\n\n" << usage;
    return 2;
}

}  // namespace corvan
