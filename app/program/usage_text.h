// UsageText(): kafcad's --help text. VersionText(): its --version line, with the project's
// version (KAF_VERSION, from CMake's project()). Both end in a line break.
#pragma once

#include <string>

namespace kafcad {

std::string UsageText();
std::string VersionText();

}  // namespace kafcad
