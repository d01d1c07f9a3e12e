// EscapeControls(text, keepLineFeeds): UTF-8 text made safe to show on a terminal, for messages
// that quote a file's contents (a point-file row, a JSON field, a DXF line): control characters
// (C0, DEL and C1, such as ESC starting a terminal command) are written as kafcad writes them in
// strings: \n \t \r \e, the others as \ooo (octal code). Line feeds stay line feeds when
// keepLineFeeds is true (a message box's lines). Everything else is kept byte for byte.
#pragma once

#include <string>

namespace kafcad {

std::string EscapeControls(const std::string& text, bool keepLineFeeds = false);

}  // namespace kafcad
