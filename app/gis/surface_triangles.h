// The triangles of a surface, from the drawing or from a function's result.
//
// IsSurface(entity): whether the entity is a subdivision mesh, polyface mesh or 3D face.
// SurfaceFaces(entity): the corners of each of its faces, a corner repeated in a row (a 3D face's
//   triangle repeats its third corner) or at the end given once. Throws GisError for a face that
//   names a vertex its mesh lacks.
// DrawingTriangles(drawing, handles): the faces of the subdivision meshes, polyface meshes and 3D
//   faces with the given handles (upper-case hexadecimal, any case accepted), or of every one in
//   model space when handles is empty (erased ones left out); a face of four corners is split into
//   two triangles along its first diagonal, one of more corners fanned from its first corner.
//   Throws GisError for a handle the drawing lacks or that names another kind of entity, and for a
//   face that names a vertex its mesh lacks.
#pragma once

#include <string>
#include <vector>

#include "app/gis/rasterize_triangles.h"
#include "kafhost/drawing_snapshot.h"

namespace kafcad {

bool IsSurface(const kafhost::EntityInfo& entity);
std::vector<std::vector<kafhost::Point3>> SurfaceFaces(const kafhost::EntityInfo& entity);
std::vector<PlanTriangle> DrawingTriangles(const kafhost::DrawingSnapshot& drawing,
                                           const std::vector<std::wstring>& handles);

}  // namespace kafcad
