// add_points_aa(polylineHandle, meshHandles, dct, zDelta): adds to dct every vertex of the
// subdivision meshes named by meshHandles (in list order) whose x-y position lies inside the
// outline of the lightweight polyline named by polylineHandle, raised by zDelta. The outline joins
// the polyline's vertices by straight lines (bulges are not followed) and back to the first
// vertex. A status-bar meter "Search point ..." counts the meshes.
//
// Gives the number of points added (a vertex inside the outline counts once per mesh that holds
// it). Gives nothing after a failure: a handle that does not lead to a model-space polyline or
// subdivision mesh ("Object is not a LWPolyline!" or "Object is not a SubDMesh!" under
// "add_points_aa", the call's result set to nil). AddPoint's failures and the refusal of a point
// that is not finite after the raise (geom::GeometryError) are thrown on, the meter ended first.
// Points added before a failure stay in dct; every entity looked up is closed and the meter
// ended on every path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geom/dct/dct.h"

std::optional<std::int32_t> add_points_aa(const std::wstring& polylineHandle,
                                          std::vector<std::wstring> meshHandles, geom::CDCT& dct,
                                          double zDelta);
