// VolumeResult: what the volume functions (ComputeVolume, ComputeDatumVolume) give.
//
// Over the plan area where both surfaces exist (`area`), with the first surface the existing
// ground and the second the design (or the datum): `cut` is the volume where the existing
// ground lies above the design (to be dug away), `fill` where it lies below (to be filled up),
// both zero or positive; `net` = cut - fill, the integral of existing minus design.
#pragma once

namespace geom {

struct VolumeResult {
    double cut = 0.0;
    double fill = 0.0;
    double net = 0.0;
    double area = 0.0;
};

}  // namespace geom
