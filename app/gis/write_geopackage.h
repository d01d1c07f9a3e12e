// WriteGeoPackage(drawing, system, path, notes): the drawing's model space as GeoPackage layers,
// one per drawing layer and kind of geometry, with the coordinate system when given:
//  - polylines, 3D polylines and lines (contours, breaklines, outlines): LINESTRING Z features
//    (a polyline at its elevation, a closed one ending where it starts), with the fields
//    handle and elevation (a polyline's elevation; a 3D polyline's or line's when all its
//    vertices share it, empty otherwise);
//  - subdivision and polyface meshes and 3D faces: one POLYGON Z feature per face, with the
//    fields handle (the mesh's) and face (its number in the mesh, from 1);
//  - points: POINT Z features with the field handle.
// The GeoPackage layer is named after the drawing layer; a drawing layer holding several kinds
// gives "<layer> lines", "<layer> faces" and "<layer> points". Notes receive what is left out
// (texts, paper space, per kind with a count) and arcs of polylines written as their chords.
// Written through WriteThroughGdal: nothing of path changes unless the whole file is made.
// Throws GisError "PATH: REASON".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/gis/coordinate_system.h"
#include "kafhost/drawing_snapshot.h"

namespace kafcad {

void WriteGeoPackage(const kafhost::DrawingSnapshot& drawing,
                     const std::optional<CoordinateSystem>& system, const std::string& path,
                     std::vector<std::string>& notes);

}  // namespace kafcad
