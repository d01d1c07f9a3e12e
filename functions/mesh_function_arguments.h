// The arguments of the mesh functions kaf-dct-pfacemesh and kaf-dct-subdmesh: a point list, a
// layer (string or nil) and optionally the most vertices one mesh may have.
//
// ReadMeshFunctionArguments(args, dct, rules, arguments): feeds the point list to dct with the
// counting walk, which also finds the layer argument (the point count is -1 when the walk ended on
// a node of another type), then reads the layer and the optional maximum (default 32767, which is
// not range-tested). Gives true when all is read; false after the argument-error line under
// rules.label (nil set). A failure of AddPoint passes through to the caller as thrown.
#pragma once

#include <cstdint>
#include <string>

#include "arxapi.h"
#include "geom/dct.h"

struct MeshArgumentRules {
    const wchar_t* label;           // the function's name in its error lines
    const wchar_t* integerMessage;  // the maximum is not an integer
    const wchar_t* rangeMessage;    // the maximum lies outside 3 ... largestMaxPoints
    std::int32_t largestMaxPoints;
};

struct MeshArguments {
    std::int32_t pointCount = 0;
    bool hasLayer = false;
    std::wstring layer;
    std::int32_t maxPoints = 32767;

    // The layer for the writers: null when none was given.
    const wchar_t* Layer() const { return hasLayer ? layer.c_str() : nullptr; }
};

bool ReadMeshFunctionArguments(const resbuf* args, geom::CDCT& dct, const MeshArgumentRules& rules,
                               MeshArguments& arguments);
