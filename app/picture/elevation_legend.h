// The legend of the elevation colours of meshes coloured by elevation (kaf-changeMeshColor).
//
// ElevationRamp(entities): the (elevation, colour) of every vertex of the subdivision meshes
//   among entities that have a colour per vertex (read from the entities, which must outlive
//   the ramp); Empty() when there is none, Low() and High() the lowest and highest elevation.
// ColoursAt(elevations): the colour at each elevation, as the samples sorted by elevation give
//   it: linear between the samples on either side, the end samples' colours beyond them. Only
//   the samples next to the elevations are looked for (no sort); where the samples of one
//   elevation differ in colour the order of a sort decides, and the samples are sorted.
// DrawElevationLegend(cr, ramp, left, width, height): fills the panel from x = left to left +
//   width (the full height) in white and draws the title "Elevation", a vertical bar of the
//   ramp's colours from its lowest elevation (bottom) to its highest (top), and ticks labelled
//   with round elevations (steps of 1, 2 or 5 times a power of ten, about five of them).
//
// IsCutFillMap(mesh): whether a subdivision mesh is coloured as a cut/fill map (kaf-isopach):
//   white where z is 0, the colours of positive z on one straight ramp from white and those of
//   negative z on another (channels within 1.5 of the ramp).
// DrawCutFillLegend(cr, ramp, left, width, height): the legend of such maps' colours, as
//   DrawElevationLegend draws it but titled "Cut / fill", the bar running from -r (bottom) to r
//   (top) with r the larger of the lowest value's and the highest value's size, the zero marked
//   by a heavy line, and the notes "+ cut (dig)" and "- fill" below it.
#pragma once

#include <cairo.h>

#include <vector>

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

struct RampSample {
    double z = 0.0;
    kafhost::Rgb colour{0, 0, 0};
};

class ElevationRamp {
public:
    explicit ElevationRamp(const std::vector<const kafhost::EntityInfo*>& entities);

    bool Empty() const { return empty_; }
    double Low() const { return low_; }
    double High() const { return high_; }
    std::vector<kafhost::Rgb> ColoursAt(const std::vector<double>& elevations) const;

private:
    // Calls visit(sample) for each sample of a finite elevation, in drawing order.
    template <typename Visit>
    void ForEachSample(Visit visit) const;
    std::vector<RampSample> SortedSamples() const;

    std::vector<const kafhost::EntityInfo*> meshes_;  // those with a colour per vertex
    bool empty_ = true;
    double low_ = 0.0;
    double high_ = 0.0;
};

void DrawElevationLegend(cairo_t* cr, const ElevationRamp& ramp, double left, double width,
                         double height);
void DrawCutFillLegend(cairo_t* cr, const ElevationRamp& ramp, double left, double width,
                       double height);
bool IsCutFillMap(const kafhost::EntityInfo& mesh);

// A round step near span / count: 1, 2 or 5 times a power of ten.
double RoundStep(double span, double count);

}  // namespace kafcad
