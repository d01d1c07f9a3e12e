// UsageText(): kafcad's --help text. VersionText(): its --version line. Both end in a line break.
#pragma once

#include <string>

namespace kafcad {

std::string UsageText();
std::string VersionText();

}  // namespace kafcad
