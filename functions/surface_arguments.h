// The arguments of the constrained surface functions and of the thinning function, read by
// position: each function lists its slots in order (ArgumentSlot), the last ones optional.
//
// ReadSurfaceArguments(args, slots, count, required, rules, out): reads the call's arguments into
// out, slot by slot:
// - Points: a list of 2D or 3D points, or nil; Files: a non-empty list of file names;
// - Layout: a column layout such as "PNEZD" (ParseSurveyLayout); Delimiter: a string of one
//   character;
// - Breaklines, Holes: handle lists or nil; Boundary: a handle or nil (ConstraintLine, in their
//   roles, into out.lines);
// - EdgeLength, SnapTolerance: lengths of 0 or more; Tolerance: a tolerance of 0 or more;
// - Layer: a string or nil; MaxPoints: an integer within 3 ... rules.largestMaxPoints.
// The first bad argument ends the call with nil under rules.label ("<Ordinal> argument has to be
// ...!", the rules' texts for maxPoints, "Too few arguments!"); gives false then. Arguments after
// the first `required` may be left out.
//
// ReadArgumentPoints(arguments, label, add, dropRepeats): hands the points to add: those of the
// point list, or after "\nReading points ..." those of the files (ReadSurveyPointFiles, whose
// duplicates the sink leaves out itself through dropRepeats, SurveyReadOptions); false when a
// file cannot be read (the function's error printed under label).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "arxapi.h"
#include "functions/run_mesh_function.h"
#include "geom/kernel/vertex.h"
#include "input/read_constraint_lines.h"
#include "input/survey_point_file.h"

struct SurfaceArguments {
    std::vector<geom::CVertex> points;
    std::vector<std::wstring> files;
    SurveyColumns columns;
    wchar_t delimiter = L',';
    std::vector<ConstraintLine> lines;
    double maxEdgeLength = 0.0;
    double tolerance = 0.0;
    std::optional<std::wstring> layer;
    std::int32_t maxPoints = 32767;
    double snapTolerance = 0.0;
};

// What an argument at a position is.
enum class ArgumentSlot {
    Points,
    Files,
    Layout,
    Delimiter,
    Breaklines,
    Boundary,
    Holes,
    EdgeLength,
    Tolerance,
    Layer,
    MaxPoints,
    SnapTolerance
};

bool ReadSurfaceArguments(const resbuf* args, const ArgumentSlot* slots, int count, int required,
                          const MeshArgumentRules& rules, SurfaceArguments& out);

bool ReadArgumentPoints(const SurfaceArguments& arguments, const wchar_t* label,
                        const SurveyPointSink& add, const SurveyRepeatsDrop& dropRepeats);
