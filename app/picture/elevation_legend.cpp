#include "app/picture/elevation_legend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kafcad {
namespace {

constexpr double kFontSize = 12.0;
constexpr double kBarWidth = 22.0;
constexpr double kInset = 12.0;

void SetColour(cairo_t* cr, const kafhost::Rgb& colour) {
    cairo_set_source_rgb(cr, colour[0] / 255.0, colour[1] / 255.0, colour[2] / 255.0);
}

}  // namespace

double RoundStep(double span, double count) {
    if (!(span > 0.0) || !(count > 0.0)) {
        return 1.0;
    }
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

std::vector<RampSample> ElevationRamp(const std::vector<const kafhost::EntityInfo*>& entities) {
    std::vector<RampSample> ramp;
    for (const kafhost::EntityInfo* entity : entities) {
        if (entity->type != L"AcDbSubDMesh" || entity->vertexColors.empty() ||
            entity->vertexColors.size() != entity->vertices.size()) {
            continue;
        }
        for (std::size_t i = 0; i < entity->vertices.size(); ++i) {
            if (std::isfinite(entity->vertices[i][2])) {
                ramp.push_back(RampSample{entity->vertices[i][2], entity->vertexColors[i]});
            }
        }
    }
    std::sort(ramp.begin(), ramp.end(),
              [](const RampSample& a, const RampSample& b) { return a.z < b.z; });
    return ramp;
}

kafhost::Rgb RampColourAt(const std::vector<RampSample>& ramp, double z) {
    const auto above = std::lower_bound(
        ramp.begin(), ramp.end(), z, [](const RampSample& s, double value) { return s.z < value; });
    if (above == ramp.end()) {
        return ramp.back().colour;
    }
    if (above == ramp.begin() || above->z == z) {
        return above->colour;
    }
    // Between two samples the colour runs linearly, as the colouring by elevation does.
    const RampSample& below = *std::prev(above);
    const double t = (z - below.z) / (above->z - below.z);
    kafhost::Rgb colour;
    for (int c = 0; c < 3; ++c) {
        colour[c] = static_cast<int>(
            std::lround(below.colour[c] + t * (above->colour[c] - below.colour[c])));
    }
    return colour;
}

void DrawElevationLegend(cairo_t* cr, const std::vector<RampSample>& ramp, double left,
                         double width, double height) {
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_rectangle(cr, left, 0.0, width, height);
    cairo_fill(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kFontSize);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_move_to(cr, left + kInset, kInset + kFontSize);
    cairo_show_text(cr, "Elevation");

    const double barLeft = left + kInset;
    const double barTop = 2.0 * kInset + 2.0 * kFontSize;
    const double barBottom = std::max(barTop + 20.0, height * 0.7);
    const double low = ramp.front().z;
    const double high = ramp.back().z;
    const double rows = std::floor(barBottom - barTop);
    // One row of the bar per pixel, the colour of the elevation at the row's centre.
    for (int row = 0; row < static_cast<int>(rows); ++row) {
        const double z = high - (row + 0.5) / rows * (high - low);
        SetColour(cr, RampColourAt(ramp, z));
        cairo_rectangle(cr, barLeft, barTop + row, kBarWidth, 1.0);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, barLeft + 0.5, barTop + 0.5, kBarWidth - 1.0, rows - 1.0);
    cairo_stroke(cr);

    // Round elevations within the range; a flat ramp gets its one elevation.
    const double step = RoundStep(high - low, 5.0);
    std::vector<double> ticks;
    if (high > low) {
        for (double k = std::ceil(low / step); k * step <= high; k += 1.0) {
            ticks.push_back(k * step);
        }
    } else {
        ticks.push_back(low);
    }
    for (const double z : ticks) {
        const double y =
            high > low ? barTop + (high - z) / (high - low) * rows : barTop + rows / 2.0;
        cairo_move_to(cr, barLeft + kBarWidth, std::round(y) + 0.5);
        cairo_line_to(cr, barLeft + kBarWidth + 5.0, std::round(y) + 0.5);
        cairo_stroke(cr);
        char label[32];
        std::snprintf(label, sizeof label, "%g", z);
        cairo_move_to(cr, barLeft + kBarWidth + 8.0, y + kFontSize * 0.35);
        cairo_show_text(cr, label);
    }
}

}  // namespace kafcad
