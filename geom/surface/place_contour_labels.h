// PlaceContourLabels(lines, options, labels): where the labels of contour lines go.
//
// Each line is a polyline in plan (closed: its last point joins its first) with the length its
// label takes along it (labelLength, the text's width). A label's box is labelLength + height
// long (a margin of half the height at each end) and twice the height across, centred on its
// anchor, a point on the line.
//
// Along each line, labels are wanted every `spacing` of its length, the first half a spacing in
// (a line shorter than one spacing gets one in its middle); a line shorter than twice its box's
// length gets none. Each wanted place is moved along the line, by up to half a spacing, to the
// nearest spot where the line is straight enough under the box (it stays within a quarter of
// the height of the chord across the box and turns less than 30 degrees from it), an open line
// holds the whole box, and the box overlaps no box placed before (lines are labelled in their
// order). A place that finds no such spot is dropped, so that a line long enough may still go
// without a label where it is crooked or crowded throughout.
//
// A label's rotation is the direction of the line's segment under its anchor, turned by half a
// turn where needed to read upright: it lies in (-pi/2, pi/2], so that the text reads from left
// to right on the sheet and its top faces up the sheet (uphill or downhill as the line runs).
//
// labels receives the labels line by line, each line's in order along it.
// Throws std::bad_alloc when memory is short.
#pragma once

#include <cstddef>
#include <vector>

#include "geom/surface/trace_contours.h"

namespace geom {

struct LabelledLine {
    std::vector<PlanPoint> points;
    bool closed = false;
    double labelLength = 0.0;
};

struct ContourLabelOptions {
    double spacing = 100.0;
    double height = 1.0;
};

struct ContourLabel {
    std::size_t line = 0;
    double x = 0.0;
    double y = 0.0;
    double rotation = 0.0;
};

void PlaceContourLabels(const std::vector<LabelledLine>& lines, const ContourLabelOptions& options,
                        std::vector<ContourLabel>& labels);

}  // namespace geom
