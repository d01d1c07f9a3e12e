#include "geom/surface/compute_isopach.h"

#include <new>

#include "geom/surface/isopach_walk.h"
#include "geom/surface/measurable_surface.h"
#include "geom/surface/order_spatially.h"

namespace geom {

SurfaceStatus ComputeIsopach(const WeldedSurface& existing, const WeldedSurface& design,
                             IsopachMesh& isopach, const SurfaceProgress& progress) {
    isopach = IsopachMesh();
    if (!IsMeasurable(existing) || !IsMeasurable(design)) {
        return SurfaceStatus::CoordinatesTooLarge;
    }
    if (existing.triangles.empty() || design.triangles.empty()) {
        return SurfaceStatus::Ok;
    }
    try {
        // The welded order follows the meshes' faces, which may jump about the plan.
        const WeldedSurface orderedExisting = OrderSpatially(existing);
        const WeldedSurface orderedDesign = OrderSpatially(design);
        WalkIsopach(orderedExisting, orderedDesign, isopach, progress);
    } catch (const std::bad_alloc&) {
        isopach = IsopachMesh();
        return SurfaceStatus::OutOfMemory;
    }
    return SurfaceStatus::Ok;
}

}  // namespace geom
