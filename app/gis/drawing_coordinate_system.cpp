#include "app/gis/coordinate_system.h"

namespace kafcad {

std::optional<CoordinateSystem>& DrawingCoordinateSystem() {
    static std::optional<CoordinateSystem> system;
    return system;
}

std::string Describe(const CoordinateSystem& system) {
    return system.name.empty() || system.name == system.label
               ? system.label
               : system.label + " (" + system.name + ")";
}

bool AdoptCoordinateSystem(const CoordinateSystem& system, const std::string& source) {
    std::optional<CoordinateSystem>& drawing = DrawingCoordinateSystem();
    if (!drawing) {
        drawing = system;
        return true;
    }
    if (!SameCoordinateSystem(*drawing, system)) {
        throw GisError(source + ": it is in " + Describe(system) + ", the drawing in " +
                       Describe(*drawing) + "; reproject it first (gdalwarp -t_srs " +
                       drawing->label + ")");
    }
    return false;
}

}  // namespace kafcad
