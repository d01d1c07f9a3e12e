// RenderProfilePlot(profiles, exaggeration, path, width, height): writes a PNG picture of one or
// more profiles, station across (to the right) and elevation up, the elevations drawn
// `exaggeration` times the stations' scale (exaggeration > 0), as long-sections are drawn.
//
// Each profile is a label and its runs, each run a line through its (station, elevation)
// points; a gap between runs stays open. The profiles share the axes, fitted to all their points
// with a margin and widened about their middles to fill the plot area at the exaggeration
// asked; a grid at round steps (1, 2 or 5 times a power of ten) with the values on the axes, the
// axis titles "Station / offset" and "Elevation", the line "Vertical exaggeration N x" and a key of
// the profiles' colours and labels above the plot. The first profile is drawn brown (ground), the
// second red (design), further ones blue, green, purple, orange in turn. Profiles without points
// are keyed but not drawn; when none has a point the axes run from 0 to 1. Throws
// std::runtime_error when the picture cannot be made or written.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kafcad {

struct PlotProfile {
    std::string label;
    std::vector<std::vector<std::pair<double, double>>> runs;
};

void RenderProfilePlot(const std::vector<PlotProfile>& profiles, double exaggeration,
                       const std::string& path, int width, int height);

}  // namespace kafcad
