// ReadScriptFile(path): the whole text of a script file, or of standard input for "-". Throws
// std::runtime_error "cannot read script PATH: REASON" when it cannot be read.
#pragma once

#include <string>

namespace kafcad {

std::string ReadScriptFile(const std::string& path);

}  // namespace kafcad
