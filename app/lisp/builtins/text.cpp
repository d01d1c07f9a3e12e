#include "app/lisp/builtins/text.h"

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/byte_text.h"
#include "app/lisp/print_value.h"

namespace kafcad {
namespace {

using Formatter = std::string (*)(const Value&);

// Writes text to the file argument at index, or to the command line without one (or for nil).
void WriteTo(CommandLineOutput& commandLine, OpenFiles& files, const std::vector<Value>& a,
             std::size_t index, const std::string& text) {
    if (a.size() > index && !a[index].isNil()) {
        std::ostream& out = files.Output(a[index]);
        out << text;
        out.flush();
    } else {
        commandLine.Write(text);
    }
}

Builtin Printer(CommandLineOutput& commandLine, const std::shared_ptr<OpenFiles>& files,
                Formatter format, const char* before, const char* after) {
    return [&commandLine, files, format, before, after](const std::vector<Value>& arguments) {
        CheckArgumentCount(arguments, 0, 2);
        if (arguments.empty()) {
            return QuietValue();
        }
        WriteTo(commandLine, *files, arguments, 1, before + format(arguments[0]) + after);
        return arguments[0];
    };
}

std::string BareText(const Value& value) {
    return WideToBytes(StringArgument(value));
}

}  // namespace

void DefineTextFunctions(BuiltinLibrary& library, CommandLineOutput& commandLine,
                         const std::shared_ptr<OpenFiles>& files) {
    library.Define("strcat", [](const std::vector<Value>& arguments) {
        std::wstring joined;
        for (const Value& argument : arguments) {
            joined += StringArgument(argument);
        }
        return Value::string(std::move(joined));
    });
    library.Define("princ", Printer(commandLine, files, DisplayValue, "", ""));
    library.Define("prin1", Printer(commandLine, files, PrintValue, "", ""));
    library.Define("print", Printer(commandLine, files, PrintValue, "\n", " "));
    library.Define("write-line", [&commandLine, files](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 2);
        WriteTo(commandLine, *files, a, 1, BareText(a[0]) + "\n");
        return a[0];
    });
}

}  // namespace kafcad
