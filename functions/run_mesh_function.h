// RunMeshFunction(args, function): the run shared by kaf-dct-pfacemesh and kaf-dct-subdmesh.
// Prints "\nStart Calculation...", reads the point list, layer and maximum
// (ReadMeshFunctionArguments), triangulates with the DCT triangulator and prints "ready after %f
// seconds\n" with the whole seconds it took. When the point count (duplicates included, or -1)
// is at most the maximum, function.single writes one mesh, otherwise function.split writes meshes
// of at most the maximum vertices. Gives RSRSLT with the list of the new meshes' handle texts as
// the call's result; RSERR with nil after an argument or writer failure; RSERR without a result
// after a triangulator failure (the triangulator's text printed), except that a call without any
// argument ends with nil.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arxapi.h"
#include "functions/mesh_function_arguments.h"
#include "geom/triangle.h"
#include "geom/vertex.h"

using SingleMeshWriter = int (*)(const std::vector<geom::CTriangle>&,
                                 const std::vector<geom::CVertex>&, const wchar_t*,
                                 std::vector<std::wstring>&);
using SplitMeshWriter = int (*)(const std::vector<geom::CTriangle>&,
                                const std::vector<geom::CVertex>&, const wchar_t*, std::int32_t,
                                std::vector<std::wstring>&);

struct MeshFunction {
    MeshArgumentRules arguments;
    SingleMeshWriter single;
    SplitMeshWriter split;
};

int RunMeshFunction(const resbuf* args, const MeshFunction& function);
