// kafcad: loads the kaf module into the stand-in host and runs AutoLISP scripts, expressions or
// an interactive prompt that call its functions. See UsageText() for the command line.
#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/program/exit_status.h"
#include "app/program/options.h"
#include "app/program/run_kafcad.h"
#include "app/program/usage_error.h"

namespace {

int TerminalColumns(int fd) {
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    kafcad::Options options;
    try {
        options = kafcad::ParseOptions(arguments);
    } catch (const kafcad::UsageError& error) {
        std::cerr << "kafcad: " << error.what() << "\nTry 'kafcad --help' for more information.\n";
        return kafcad::kExitUsage;
    }
    kafcad::Console console{std::cout, std::cerr};
    console.inIsTerminal = ::isatty(STDIN_FILENO) == 1;
    console.outIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    console.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    console.columns = TerminalColumns(STDERR_FILENO);
    return kafcad::RunKafcad(options, console);
}
