#include "app/usage_text.h"

namespace kafcad {

std::string UsageText() {
    return "Usage: kafcad [OPTION]... -e EXPR [-e EXPR]...\n"
           "Loads the kaf module into a drawing and evaluates AutoLISP expressions that call its\n"
           "functions, printing the command line and each expression's value on standard output.\n"
           "\n"
           "  -e, --eval EXPR       evaluate EXPR, e.g. -e \"(kaf-dct '((0 0) (1 0) (0 1)))\";\n"
           "                        repeatable, evaluated in order in one drawing\n"
           "  --drawing FILE.json   start from the drawing in FILE.json (default: a new drawing\n"
           "                        with layer \"0\" only)\n"
           "  --layer NAME          add layer NAME to the drawing; repeatable\n"
           "  --save FILE.json      save the drawing to FILE.json after the expressions\n"
           "  --module PATH         load the module from PATH (default: kaf20x64.arx next to\n"
           "                        kafcad)\n"
           "  --help                show this help and exit\n"
           "  --version             show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when a function fails or the drawing cannot be saved,\n"
           "2 for a bad option, a malformed expression, an unknown function, or a module or\n"
           "drawing that cannot be loaded.\n";
}

std::string VersionText() {
    return "kafcad 0.1.0\n";
}

}  // namespace kafcad
