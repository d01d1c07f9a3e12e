// kafcad's exit statuses.
#pragma once

namespace kafcad {

constexpr int kExitOk = 0;
// An AutoLISP function failed, or the drawing could not be saved.
constexpr int kExitFailed = 1;
// The request itself is wrong: a bad option, a malformed expression, an unknown function, a
// module or drawing file that cannot be loaded.
constexpr int kExitUsage = 2;

}  // namespace kafcad
