// PicturesAvailable(): whether this build of kafcad draws PNG pictures (--png); it needs cairo,
// which the Windows build is made without.
#pragma once

namespace kafcad {

bool PicturesAvailable();

}  // namespace kafcad
