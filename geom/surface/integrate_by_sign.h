// IntegrateBySign(area, f0, f1, f2, positive, negative): for the function that is linear over a
// triangle of plan area `area` (>= 0) and takes the values f0, f1, f2 at its corners, gives the
// integral of its positive part in `positive` and of its negative part, as a value >= 0, in
// `negative`. Where the function changes sign the triangle is cut along its zero line and each
// part integrated exactly.
#pragma once

namespace geom {

void IntegrateBySign(double area, double f0, double f1, double f2, double& positive,
                     double& negative);

}  // namespace geom
