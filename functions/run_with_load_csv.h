// RunWithLoadCsv(args, variant): the common run of the two withloadcsv functions, which build
// meshes from point files: (name files delimiter layer transX transY scaleZ [maxPoints]).
//
// Reads the file list (loadFiles), then the delimiter (a string; its first character separates
// the fields), the layer (string or nil), transX, transY and scaleZ (reals; 0.0, 0.0 and 1.0 when
// the call ends before them) and the optional maximum of points per mesh (integer, default
// 32767, within the variant's range). Argument errors end the call with nil at the first bad
// argument. Then parseCSV feeds the points to the triangulator, and the triangulation goes to the
// variant's single writer when the rows read are at most the maximum, to its splitting writer
// otherwise; the handles of the new meshes are the result.
//
// A point-file error (message box) prints "canceled" and gives nil with RSRSLT. A failure of the
// triangulator, while points are read or during the run, prints its text and gives RSERR with no
// result set; a writer failure gives nil and RSERR.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arxapi.h"
#include "functions/triangulate_and_write.h"

struct WithLoadCsvVariant {
    const wchar_t* step;          // the function's name in its argument errors
    const wchar_t* notAnInteger;  // the maximum is not an integer
    std::int32_t largestMaximum;  // the maximum must lie in 3 ... largestMaximum
    const wchar_t* outOfRange;    // the maximum is outside that range
    const wchar_t* timingLine;    // the format of the calculation time, in whole seconds
    bool printsFinished;          // "finished" after the writer's success and after "canceled"
    MeshWriters writers;
};

int RunWithLoadCsv(const resbuf* args, const WithLoadCsvVariant& variant);
