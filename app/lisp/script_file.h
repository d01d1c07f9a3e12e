// ReadScriptFile(path): the whole text of a script file, or of standard input for "-". Throws
// std::runtime_error "cannot read script PATH: REASON" when it cannot be read.
// UnreadableKind(path): why path is not something to read a whole text from ("it is a folder",
// "not a regular file" for a device such as /dev/zero or a socket), or "" for a regular file, a
// pipe or a name that is not there (opening it says why).
#pragma once

#include <string>

namespace kafcad {

std::string ReadScriptFile(const std::string& path);
std::string UnreadableKind(const std::string& path);

}  // namespace kafcad
