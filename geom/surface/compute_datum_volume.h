// ComputeDatumVolume(surface, datum, result): cut and fill between a welded surface
// (WeldSurface) and the level plane at elevation `datum`, over the surface's plan area
// (volume_result.h: cut is the volume of the surface above the datum, fill the volume between
// the datum and the surface where the surface lies below it). Exact up to rounding: each
// triangle is split where it crosses the datum.
//
// Gives Ok, or (result zero) InvalidDatum when the datum is not finite, CoordinatesTooLarge or
// DatumTooLarge when a point of the surface or the datum lies beyond the measurable range
// (measurable_surface.h).
#pragma once

#include "geom/surface/surface_status.h"
#include "geom/surface/volume_result.h"
#include "geom/surface/welded_surface.h"

namespace geom {

SurfaceStatus ComputeDatumVolume(const WeldedSurface& surface, double datum, VolumeResult& result);

}  // namespace geom
