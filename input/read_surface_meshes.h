// ReadSurfaceMeshes(handles, label, meshes, names): reads the meshes of one surface, named by the
// handle texts in list order, into `meshes` (one geom::SurfaceMesh each) and their handle texts,
// as the drawing writes them, into `names`. Each handle must lead to a subdivision mesh
// (AcDbSubDMesh) or a polyface mesh (AcDbPolyFaceMesh) of model space; a mesh named more than
// once is read once. Faces with more than three corners are split into triangles fanning out
// from their first corner; polyface face records give their corners as the absolute values of
// their non-zero vertex numbers (a negative number only hides an edge); faces with fewer than
// three corners have no area and are left out. A polyface mesh is read through its vertex
// iterator (AcDbPolyFaceMesh::vertexIterator), each vertex and face record opened for read. A face
// list that runs past its end gives a face naming vertex -1, which the surface's welding refuses. A
// status-bar meter "Reading meshes ..." counts the meshes.
//
// Gives false when a handle leads to no such mesh: the lookup's own step line (GetEntity), then
// "Object <handle> is not a SubDMesh or PolyFaceMesh!" under label, nil set; and when a polyface
// mesh's vertex or face record cannot be opened: the step line "ReadPolyFaceMesh:acdbOpenObject"
// with the host's status text, then "Mesh <handle> could not be read!". Every entity and
// sub-entity opened is closed and the meter ended on every path.
#pragma once

#include <string>
#include <vector>

#include "geom/surface/surface_mesh.h"

bool ReadSurfaceMeshes(const std::vector<std::wstring>& handles, const wchar_t* label,
                       std::vector<geom::SurfaceMesh>& meshes, std::vector<std::wstring>& names);
