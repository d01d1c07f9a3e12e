// kafcad's exit statuses.
#pragma once

namespace kafcad {

constexpr int kExitOk = 0;
// An evaluation failed ("; error: ..."), or the drawing or picture could not be written.
constexpr int kExitFailed = 1;
// The request itself is wrong: a bad option, a script that cannot be read or is not well-formed
// text, a module or drawing file that cannot be loaded.
constexpr int kExitUsage = 2;

}  // namespace kafcad
