// DefaultModulePath(executableDirectory): where kafcad looks for the module when --module is not
// given: kaf20x64.arx next to the executable if it is there, else ../kaf20x64.arx (the build
// tree's layout). Gives the first candidate when neither exists, so the error names it.
// Paths are UTF-8.
#pragma once

#include <string>

namespace kafcad {

std::string DefaultModulePath(const std::string& executableDirectory);

}  // namespace kafcad
