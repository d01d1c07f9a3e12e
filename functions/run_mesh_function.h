// IsMaxPointsInRange(maxPoints, largest): whether a mesh maximum lies within 3 ... largest.
//
// RunMeshFunction(args, function): the run shared by kaf-dct-pfacemesh and kaf-dct-subdmesh,
// (name points layer [maxPoints]). Prints "\nStart Calculation...", then reads the arguments: the
// point list goes to the DCT triangulator by the counting walk, which also finds the layer
// argument (the point count is -1 when the walk ended on a node of another type); the layer is a
// string or nil; the optional maximum is an integer within 3 ... largestMaxPoints (default 32767,
// which is not range-tested). Argument errors are reported under the rules' label. It then
// triangulates and prints "ready after %f seconds\n" with the whole seconds it took. When the
// point count (duplicates included, or -1) is at most the maximum, function.writers.single writes
// one mesh, otherwise function.writers.split writes meshes of at most the maximum vertices.
//
// Gives RSRSLT with the list of the new meshes' handle texts as the call's result; RSERR with nil
// after an argument or writer failure; RSERR without a result after a triangulator failure (the
// triangulator's text printed), except that a call without any argument ends with nil.
#pragma once

#include <cstdint>

#include "arxapi.h"
#include "functions/triangulate_and_write.h"

struct MeshArgumentRules {
    const wchar_t* label;           // the function's name in its error lines
    const wchar_t* integerMessage;  // the maximum is not an integer
    const wchar_t* rangeMessage;    // the maximum lies outside 3 ... largestMaxPoints
    std::int32_t largestMaxPoints;
};

struct MeshFunction {
    MeshArgumentRules arguments;
    MeshWriters writers;
};

bool IsMaxPointsInRange(std::int32_t maxPoints, std::int32_t largest);

int RunMeshFunction(const resbuf* args, const MeshFunction& function);
