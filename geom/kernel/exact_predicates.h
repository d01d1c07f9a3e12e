// Exact signs of the two plane predicates, for finite doubles.
//
// ExactOrientSign(a, b, c): the sign (-1, 0, 1) of (b - a) x (c - a); 1 when a, b, c run
// counter-clockwise.
// ExactInCircleSign(a, b, c, d): the sign of the in-circle determinant; 1 when d lies strictly
// inside the circle through a, b, c (taken counter-clockwise), 0 on it.
//
// Every coordinate is an integer mantissa times a power of two; the predicates scale all of
// their coordinates to one power of two and evaluate the determinant in integers: in 64 bits
// when the differences are small enough, otherwise in a wide integer long enough for any finite
// doubles. Meant for the rare decisions a floating-point filter cannot settle.
#pragma once

namespace geom {

struct ExactPoint {
    double x;
    double y;
};

int ExactOrientSign(ExactPoint a, ExactPoint b, ExactPoint c);

int ExactInCircleSign(ExactPoint a, ExactPoint b, ExactPoint c, ExactPoint d);

}  // namespace geom
