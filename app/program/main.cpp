// kafcad: loads the kaf module into the stand-in host and runs AutoLISP scripts, expressions or
// an interactive prompt that call its functions. See UsageText() for the command line.
#include <iostream>
#include <string>
#include <vector>

#include "app/program/exit_status.h"
#include "app/program/options.h"
#include "app/program/run_kafcad.h"
#include "app/program/usage_error.h"
#include "app/system/system.h"
#include "app/terminal/escape_controls.h"

int main(int argc, char** argv) {
    kafcad::PrepareConsole();
    const std::vector<std::string> arguments = kafcad::CommandLineArguments(argc, argv);
    kafcad::Options options;
    try {
        options = kafcad::ParseOptions(arguments);
    } catch (const kafcad::UsageError& error) {
        std::cerr << "kafcad: " << kafcad::EscapeControls(error.what())
                  << "\nTry 'kafcad --help' for more information.\n";
        return kafcad::kExitUsage;
    }
    kafcad::Console console{std::cout, std::cerr};
    console.inIsTerminal = kafcad::IsTerminal(0);
    console.outIsTerminal = kafcad::IsTerminal(1);
    console.errIsTerminal = kafcad::IsTerminal(2);
    console.columns = kafcad::TerminalColumns(2);
    return kafcad::RunKafcad(options, console);
}
