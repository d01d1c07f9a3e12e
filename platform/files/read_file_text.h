// readFileText(path): the whole file's bytes. Throws DrawingFileError "PATH: cannot open: REASON"
// or "PATH: cannot read: REASON".
#pragma once

#include <string>

namespace kafhost {

std::string readFileText(const std::string& path);

}  // namespace kafhost
