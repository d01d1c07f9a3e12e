// kafcad: loads the kaf module into the stand-in host and evaluates AutoLISP expressions that
// call its functions. See UsageText() for the command line.
#include <iostream>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "app/options.h"
#include "app/run_kafcad.h"
#include "app/usage_error.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    kafcad::Options options;
    try {
        options = kafcad::ParseOptions(arguments);
    } catch (const kafcad::UsageError& error) {
        std::cerr << "kafcad: " << error.what() << "\nTry 'kafcad --help' for more information.\n";
        return kafcad::kExitUsage;
    }
    return kafcad::RunKafcad(options, std::cout, std::cerr);
}
