// tallyroll-script (the real window) and tallyroll-script-headless (the
// headless stand-in): replay a session read from standard input and write the
// dumps it asks for as JSON lines.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tools/script/Driver.h"
#include "tools/script/Session.h"

int main(int argc, char** argv) {
    const std::string program = std::filesystem::path(argv[0]).filename().string();
    std::vector<std::string> args(argv + 1, argv + argc);
    tallyroll::DriverOptions options;
    if (auto err = tallyroll::ParseDriverOptions(args, options); !err.empty()) {
        std::cerr << program << ": " << err << "\n\n" << tallyroll::DriverUsage(program);
        return 2;
    }
    if (options.help) {
        std::cout << tallyroll::DriverUsage(program);
        return 0;
    }
    return tallyroll::RunSession(argc, argv, options, std::cin, std::cout);
}
