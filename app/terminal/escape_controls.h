// EscapeControls(text, kept): UTF-8 text made safe to show on a terminal, for whatever kafcad shows
// of its input (a point-file row, a JSON field, a file name, an option, the module's messages that
// quote them): control characters (C0, DEL and C1, such as ESC starting a terminal command) are
// written as kafcad writes them in strings: \n \t \r \e, the others as \ooo (octal code).
// kept names the controls that stay as they are: none, line feeds (a message box's lines) or line
// feeds and carriage returns (the module's command-line text, which rewrites its lines with a
// carriage return). Everything else is kept byte for byte.
#pragma once

#include <string>

namespace kafcad {

enum class KeptControls { kNone, kLineFeeds, kLineEnds };

std::string EscapeControls(const std::string& text, KeptControls kept = KeptControls::kNone);

}  // namespace kafcad
