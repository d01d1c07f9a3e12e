#include "app/show_value.h"

#include "app/print_value.h"
#include "app/text_functions.h"

namespace kafcad {

void ShowValue(const Value& value, CommandLineOutput& commandLine) {
    commandLine.EndLine();
    if (value == QuietValue())
        return;
    commandLine.Write(PrintValue(value) + "\n");
}

}  // namespace kafcad
