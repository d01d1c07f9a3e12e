#include "app/picture/view_transform.h"

#include <algorithm>

namespace kafcad {

ViewTransform FitView(const Extent& extent, int width, int height) {
    ViewTransform view;
    view.halfWidth = width / 2.0;
    view.halfHeight = height / 2.0;
    if (extent.empty) {
        return view;
    }
    view.centreX = (extent.minX + extent.maxX) / 2.0;
    view.centreY = (extent.minY + extent.maxY) / 2.0;
    const double marginX = std::max(4.0, width * 0.03);
    const double marginY = std::max(4.0, height * 0.03);
    const double usableWidth = std::max(1.0, width - 2.0 * marginX);
    const double usableHeight = std::max(1.0, height - 2.0 * marginY);
    const double spanX = extent.maxX - extent.minX;
    const double spanY = extent.maxY - extent.minY;
    if (spanX > 0.0 && spanY > 0.0) {
        view.scale = std::min(usableWidth / spanX, usableHeight / spanY);
    } else if (spanX > 0.0) {
        view.scale = usableWidth / spanX;
    } else if (spanY > 0.0) {
        view.scale = usableHeight / spanY;
    }
    return view;
}

}  // namespace kafcad
