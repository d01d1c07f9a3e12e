#include "app/program/picture_support.h"

namespace kafcad {

bool PicturesAvailable() {
    return true;
}

}  // namespace kafcad
