// RunMeshFunction(args, function): the run shared by kaf-dct-pfacemesh and kaf-dct-subdmesh.
// Prints "\nStart Calculation...", reads the point list, layer and maximum
// (ReadMeshFunctionArguments), triangulates with the DCT triangulator and prints "ready after %f
// seconds\n" with the whole seconds it took. When the point count (duplicates included, or -1)
// is at most the maximum, function.writers.single writes one mesh, otherwise function.writers.split
// writes meshes of at most the maximum vertices. Gives RSRSLT with the list of the new meshes'
// handle texts as the call's result; RSERR with nil after an argument or writer failure; RSERR
// without a result after a triangulator failure (the triangulator's text printed), except that a
// call without any argument ends with nil.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arxapi.h"
#include "functions/mesh_function_arguments.h"
#include "functions/triangulate_and_write.h"

struct MeshFunction {
    MeshArgumentRules arguments;
    MeshWriters writers;
};

int RunMeshFunction(const resbuf* args, const MeshFunction& function);
