// The legend of the elevation colours of meshes coloured by elevation (kaf-changeMeshColor).
//
// ElevationRamp(entities): the (elevation, colour) of every vertex of the subdivision meshes
//   among entities that have a colour per vertex, sorted by elevation; empty when there is none.
// RampColourAt(ramp, z): the colour at elevation z, linear between the ramp's samples on either
//   side (the end samples' colours beyond them).
// DrawElevationLegend(cr, ramp, left, width, height): fills the panel from x = left to left +
//   width (the full height) in white and draws the title "Elevation", a vertical bar of the
//   ramp's colours from its lowest elevation (bottom) to its highest (top), and ticks labelled
//   with round elevations (steps of 1, 2 or 5 times a power of ten, about five of them).
#pragma once

#include <cairo.h>

#include <vector>

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

struct RampSample {
    double z = 0.0;
    kafhost::Rgb colour{0, 0, 0};
};

std::vector<RampSample> ElevationRamp(const std::vector<const kafhost::EntityInfo*>& entities);
kafhost::Rgb RampColourAt(const std::vector<RampSample>& ramp, double z);
void DrawElevationLegend(cairo_t* cr, const std::vector<RampSample>& ramp, double left,
                         double width, double height);

// A round step near span / count: 1, 2 or 5 times a power of ten.
double RoundStep(double span, double count);

}  // namespace kafcad
