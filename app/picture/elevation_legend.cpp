#include "app/picture/elevation_legend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/picture/level_counter.h"

namespace kafcad {
namespace {

constexpr double kFontSize = 12.0;
constexpr double kBarWidth = 22.0;
constexpr double kInset = 12.0;

// The colour at z between two samples, linear as the colouring by elevation is.
kafhost::Rgb Between(const RampSample& below, const RampSample& above, double z) {
    const double t = (z - below.z) / (above.z - below.z);
    kafhost::Rgb colour;
    for (int c = 0; c < 3; ++c) {
        colour[c] = static_cast<int>(
            std::lround(below.colour[c] + t * (above.colour[c] - below.colour[c])));
    }
    return colour;
}

// The lowest or highest sample of a band; mixed when a sample of the same elevation has another
// colour.
struct Extreme {
    RampSample sample;
    bool mixed = false;
};

struct BandEnds {
    bool filled = false;
    Extreme lowest;
    Extreme highest;

    void Take(const RampSample& sample) {
        if (!filled) {
            filled = true;
            lowest.sample = highest.sample = sample;
            return;
        }
        Keep(lowest, sample, sample.z < lowest.sample.z);
        Keep(highest, sample, sample.z > highest.sample.z);
    }

    static void Keep(Extreme& extreme, const RampSample& sample, bool beyond) {
        if (beyond) {
            extreme.sample = sample;
            extreme.mixed = false;
        } else if (sample.z == extreme.sample.z && sample.colour != extreme.sample.colour) {
            extreme.mixed = true;
        }
    }
};

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

template <typename Visit>
void ElevationRamp::ForEachSample(Visit visit) const {
    for (const kafhost::EntityInfo* mesh : meshes_) {
        for (std::size_t i = 0; i < mesh->vertices.size(); ++i) {
            const double z = mesh->vertices[i][2];
            if (std::isfinite(z)) {
                visit(RampSample{z, mesh->vertexColours[i]});
            }
        }
    }
}

ElevationRamp::ElevationRamp(const std::vector<const kafhost::EntityInfo*>& entities) {
    for (const kafhost::EntityInfo* entity : entities) {
        if (entity->type == kafhost::EntityKind::kSubDMesh && !entity->vertexColours.empty() &&
            entity->vertexColours.size() == entity->vertices.size()) {
            meshes_.push_back(entity);
        }
    }
    low_ = std::numeric_limits<double>::infinity();
    high_ = -low_;
    ForEachSample([this](const RampSample& sample) {
        low_ = std::min(low_, sample.z);
        high_ = std::max(high_, sample.z);
    });
    empty_ = low_ > high_;
    // Zeros of either sign are equal to the comparison but print differently in the legend's
    // labels: the ends are then those of the samples sorted by elevation.
    if (!empty_ && (low_ == 0.0 || high_ == 0.0)) {
        const std::vector<RampSample> sorted = SortedSamples();
        low_ = sorted.front().z;
        high_ = sorted.back().z;
    }
}

std::vector<RampSample> ElevationRamp::SortedSamples() const {
    std::vector<RampSample> samples;
    ForEachSample([&samples](const RampSample& sample) { samples.push_back(sample); });
    std::sort(samples.begin(), samples.end(),
              [](const RampSample& a, const RampSample& b) { return a.z < b.z; });
    return samples;
}

namespace {

// The colour at z on the samples sorted by elevation.
kafhost::Rgb SortedColourAt(const std::vector<RampSample>& sorted, double z) {
    const auto above =
        std::lower_bound(sorted.begin(), sorted.end(), z,
                         [](const RampSample& s, double value) { return s.z < value; });
    if (above == sorted.end()) {
        return sorted.back().colour;
    }
    if (above == sorted.begin() || above->z == z) {
        return above->colour;
    }
    return Between(*std::prev(above), *above, z);
}

}  // namespace

std::vector<kafhost::Rgb> ElevationRamp::ColoursAt(const std::vector<double>& elevations) const {
    // The elevations cut the samples into bands: band b holds those with b levels at or below
    // them. Of each band the lowest and the highest sample are kept, marked when another sample
    // of the same elevation has another colour.
    std::vector<double> levels = elevations;
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    std::vector<BandEnds> bands(levels.size() + 1);
    const LevelCounter band(levels);
    ForEachSample([&bands, &band](const RampSample& sample) {
        bands[band.AtOrBelow(sample.z)].Take(sample);
    });
    // Per level the nearest sample below it (in a band at or left of it) and the nearest at or
    // above it (in a band right of it).
    const std::size_t count = levels.size();
    std::vector<const Extreme*> below(count, nullptr);
    std::vector<const Extreme*> above(count, nullptr);
    const Extreme* lastBelow = nullptr;
    for (std::size_t j = 0; j < count; ++j) {
        if (bands[j].filled) {
            lastBelow = &bands[j].highest;
        }
        below[j] = lastBelow;
    }
    const Extreme* nextAbove = nullptr;
    for (std::size_t j = count; j-- > 0;) {
        if (bands[j + 1].filled) {
            nextAbove = &bands[j + 1].lowest;
        }
        above[j] = nextAbove;
    }
    const Extreme& highest = [&bands]() -> const Extreme& {
        for (std::size_t b = bands.size(); b-- > 0;) {
            if (bands[b].filled) {
                return bands[b].highest;
            }
        }
        return bands.back().highest;
    }();

    std::vector<kafhost::Rgb> colours;
    colours.reserve(elevations.size());
    bool decided = true;
    for (const double z : elevations) {
        const auto j = static_cast<std::size_t>(std::lower_bound(levels.begin(), levels.end(), z) -
                                                levels.begin());
        const Extreme* up = above[j];
        const Extreme* down = below[j];
        if (up == nullptr) {
            decided = decided && !highest.mixed;
            colours.push_back(highest.sample.colour);
        } else if (down == nullptr || up->sample.z == z) {
            decided = decided && !up->mixed;
            colours.push_back(up->sample.colour);
        } else {
            decided = decided && !up->mixed && !down->mixed;
            colours.push_back(Between(down->sample, up->sample, z));
        }
    }
    if (decided) {
        return colours;
    }
    const std::vector<RampSample> sorted = SortedSamples();
    colours.clear();
    for (const double z : elevations) {
        colours.push_back(SortedColourAt(sorted, z));
    }
    return colours;
}

namespace {

// The panel of a legend: its title, and a vertical bar of the ramp's colours from low (bottom)
// to high (top) with ticks labelled with round values. Gives the bar's top and its height in
// rows.
void DrawRampPanel(cairo_t* cr, const ElevationRamp& ramp, double left, double width, double height,
                   const char* title, double low, double high, double& barTop, double& rows) {
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_rectangle(cr, left, 0.0, width, height);
    cairo_fill(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kFontSize);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_move_to(cr, left + kInset, kInset + kFontSize);
    cairo_show_text(cr, title);

    const double barLeft = left + kInset;
    barTop = 2.0 * kInset + 2.0 * kFontSize;
    const double barBottom = std::max(barTop + 20.0, height * 0.7);
    rows = std::floor(barBottom - barTop);
    // One row of the bar per pixel, the colour of the elevation at the row's centre.
    std::vector<double> elevations;
    for (int row = 0; row < static_cast<int>(rows); ++row) {
        elevations.push_back(high - (row + 0.5) / rows * (high - low));
    }
    const std::vector<kafhost::Rgb> colours = ramp.ColoursAt(elevations);
    for (int row = 0; row < static_cast<int>(rows); ++row) {
        SetColour(cr, colours[static_cast<std::size_t>(row)]);
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

}  // namespace

void DrawElevationLegend(cairo_t* cr, const ElevationRamp& ramp, double left, double width,
                         double height) {
    double barTop = 0.0;
    double rows = 0.0;
    DrawRampPanel(cr, ramp, left, width, height, "Elevation", ramp.Low(), ramp.High(), barTop,
                  rows);
}

void DrawCutFillLegend(cairo_t* cr, const ElevationRamp& ramp, double left, double width,
                       double height) {
    const double range = std::max({-ramp.Low(), ramp.High(), 1e-9});
    double barTop = 0.0;
    double rows = 0.0;
    DrawRampPanel(cr, ramp, left, width, height, "Cut / fill", -range, range, barTop, rows);
    const double barLeft = left + kInset;
    const double zero = std::round(barTop + rows / 2.0) + 0.5;
    cairo_set_line_width(cr, 2.0);
    cairo_move_to(cr, barLeft - 3.0, zero);
    cairo_line_to(cr, barLeft + kBarWidth + 3.0, zero);
    cairo_stroke(cr);
    cairo_move_to(cr, barLeft, barTop + rows + kInset + kFontSize);
    cairo_show_text(cr, "+ cut (dig)");
    cairo_move_to(cr, barLeft, barTop + rows + kInset + 2.4 * kFontSize);
    cairo_show_text(cr, "- fill");
}

bool IsCutFillMap(const kafhost::EntityInfo& mesh) {
    if (mesh.type != kafhost::EntityKind::kSubDMesh || mesh.vertexColours.empty() ||
        mesh.vertexColours.size() != mesh.vertices.size()) {
        return false;
    }
    // Each side's colours lie on one ray from white: the one through its farthest colour.
    double ray[2][3] = {{0, 0, 0}, {0, 0, 0}};
    double reach[2] = {0, 0};
    bool signs[2] = {false, false};
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const int side = mesh.vertices[i][2] < 0 ? 1 : 0;
        double d[3];
        double size = 0;
        for (int c = 0; c < 3; ++c) {
            d[c] = 255.0 - mesh.vertexColours[i][c];
            size += d[c] * d[c];
        }
        if (mesh.vertices[i][2] == 0.0) {
            if (size > 3.0) {
                return false;  // zero is white
            }
            continue;
        }
        signs[side] = true;
        if (size > reach[side]) {
            reach[side] = size;
            std::copy(d, d + 3, ray[side]);
        }
    }
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const double z = mesh.vertices[i][2];
        const int side = z < 0 ? 1 : 0;
        if (z == 0.0 || reach[side] == 0.0) {
            continue;
        }
        double d[3];
        double along = 0;
        for (int c = 0; c < 3; ++c) {
            d[c] = 255.0 - mesh.vertexColours[i][c];
            along += d[c] * ray[side][c] / reach[side];
        }
        for (int c = 0; c < 3; ++c) {
            if (std::fabs(d[c] - along * ray[side][c]) > 1.5) {
                return false;
            }
        }
    }
    const bool apart = !signs[0] || !signs[1] ||
                       std::fabs(ray[0][0] * ray[1][1] - ray[0][1] * ray[1][0]) +
                               std::fabs(ray[0][1] * ray[1][2] - ray[0][2] * ray[1][1]) >
                           1.0;
    return (signs[0] || signs[1]) && apart;
}

}  // namespace kafcad
