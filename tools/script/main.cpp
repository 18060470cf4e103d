// tallyroll-script: replays a session read from standard input and writes the
// dumps it asks for as JSON lines.
#include <iostream>
#include <string>
#include <vector>

#include "tools/script/Driver.h"
#include "tools/script/Session.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    tallyroll::DriverOptions options;
    if (auto err = tallyroll::ParseDriverOptions(args, options); !err.empty()) {
        std::cerr << "tallyroll-script: " << err << '\n';
        return 2;
    }
    return tallyroll::RunSession(argc, argv, options, std::cin, std::cout);
}
