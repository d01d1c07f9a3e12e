// A kafcad built without cairo: --png is refused when the options are read, so RenderTopView is
// never reached; should it be, it fails with the same reason.
#include <stdexcept>

#include "app/picture/profile_plot.h"
#include "app/picture/render_top_view.h"
#include "app/program/picture_support.h"

namespace kafcad {

bool PicturesAvailable() {
    return false;
}

void RenderTopView(const kafhost::DrawingSnapshot&, const std::string&, int, int) {
    throw std::runtime_error("this kafcad is built without PNG pictures");
}

void RenderProfilePlot(const std::vector<PlotProfile>&, double, const std::string&, int, int) {
    throw std::runtime_error("this kafcad is built without PNG pictures");
}

}  // namespace kafcad
