#include "app/lisp/builtins/text.h"

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/print_value.h"

namespace kafcad {
namespace {

using Formatter = std::string (*)(const Value&);

Builtin Printer(CommandLineOutput& commandLine, Formatter format, const char* before,
                const char* after) {
    return [&commandLine, format, before, after](const std::vector<Value>& arguments) {
        CheckArgumentCount(arguments, 0, 1);
        if (arguments.empty()) {
            return QuietValue();
        }
        commandLine.Write(before + format(arguments[0]) + after);
        return arguments[0];
    };
}

}  // namespace

void DefineTextFunctions(BuiltinLibrary& library, CommandLineOutput& commandLine) {
    library.Define("strcat", [](const std::vector<Value>& arguments) {
        std::wstring joined;
        for (const Value& argument : arguments) {
            joined += StringArgument(argument);
        }
        return Value::string(std::move(joined));
    });
    library.Define("princ", Printer(commandLine, DisplayValue, "", ""));
    library.Define("prin1", Printer(commandLine, PrintValue, "", ""));
    library.Define("print", Printer(commandLine, PrintValue, "\n", " "));
}

}  // namespace kafcad
