// CutSections(existing, design, alignment, options, sections): cross-sections of one or two
// welded surfaces (WeldSurface) along a line in plan.
//
// Stations: 0, interval, 2 interval, ... up to the line's plan length, and its end. At each
// station the section is cut square to the line, at a vertex of the line along the bisector of
// its two pieces, from options.left to the left of the line to options.right to its right
// (offsets -left ... right, measured in plan along the cut). Each section holds its cut line's
// ends and the profiles (trace_profile.h, stations as offsets) of `existing` and, when `design`
// is given, of `design` along it.
//
// With a design: cutArea is the area between the two profiles where the existing lies above the
// design, fillArea where it lies below, over the offsets where both exist (exact for these
// piecewise linear profiles, split where they cross); cutVolume and fillVolume are the
// average-end-area volumes from the previous section ((A1 + A2) / 2 times the station
// difference; 0 at the first section).
//
// Needs interval > 0, left + right > 0, both finite and not negative. Gives Ok, InvalidLevels
// when they are not so, or OutOfMemory (sections empty).
#pragma once

#include <vector>

#include "geom/surface/surface_status.h"
#include "geom/surface/trace_profile.h"
#include "geom/surface/welded_surface.h"

namespace geom {

struct SectionOptions {
    double interval = 0.0;
    double left = 0.0;
    double right = 0.0;
};

struct CrossSection {
    double station = 0.0;
    PlanPoint leftEnd{0.0, 0.0};
    PlanPoint rightEnd{0.0, 0.0};
    std::vector<ProfileRun> existing;
    std::vector<ProfileRun> design;
    double cutArea = 0.0;
    double fillArea = 0.0;
    double cutVolume = 0.0;
    double fillVolume = 0.0;
};

SurfaceStatus CutSections(const WeldedSurface& existing, const WeldedSurface* design,
                          const std::vector<PlanPoint>& alignment, const SectionOptions& options,
                          std::vector<CrossSection>& sections);

// CutAndFillBetween(existing, design, cut, fill): the areas between two profiles over the
// stations where both exist: cut where `existing` lies above `design`, fill where below.
void CutAndFillBetween(const std::vector<ProfileRun>& existing,
                       const std::vector<ProfileRun>& design, double& cut, double& fill);

}  // namespace geom
