// RunConstrainedMeshFunction(args, function): the run of the constrained surface functions, which
// triangulate survey points with breaklines, an outer boundary, hide boundaries and a maximum
// edge length (geom::CConstrainedDCT) and write the surface as meshes:
//   point list:  (name points breaklines boundary holes maxEdgeLength layer
//                 [maxPoints [snapTolerance]])
//   point files: (name files layout delimiter breaklines boundary holes maxEdgeLength layer
//                 [maxPoints [snapTolerance]])
// - points: a list of 2D or 3D points, or nil;
// - files: a list of file names; layout: a column layout such as "PNEZD" (ParseSurveyLayout);
//   delimiter: a string of one character (" " for columns apart by spaces or tabs);
// - breaklines, holes: lists of handles of 3D polylines or polylines, or nil; boundary: the handle
//   of a closed 3D polyline or polyline, or nil;
// - maxEdgeLength: a number not below 0 (0: no trimming);
// - layer: a string or nil; maxPoints: an integer within 3 ... largestMaxPoints (default 32767);
// - snapTolerance: a number not below 0 (0, the default: no snapping; see geom::CdtSnap).
// Boundaries and holes drawn as polylines (ConstraintLine::flat) clip only: the triangulator
// gives their vertices the surface's elevations (CdtBoundaryElevation::FromSurface).
// Argument errors end the call with nil at the first bad argument, under the function's label.
//
// The lines are read (ReadConstraintLines), then the points (from the list, or the files with
// ReadSurveyPointFiles); a breakline drawn as a polyline whose elevation lies outside the survey
// points' elevations gets the warning "\nBreakline <h> lies at <z>, outside the points'
// elevations <low> to <high>."; then "\nStart Calculation..." is printed and the surface
// triangulated; "ready after %f seconds\n" follows, with a tolerance given
// "Points snapped: <n> (onto lines <l>, onto earlier points <p>), line vertices joined: <j>\n",
// and when vertices of the surface lie closer than a millionth of its extent (the larger of
// its widths in x and y) "Note: <n> vertices lie closer than <d> (a millionth of the surface's
// extent) to another; a snap tolerance joins them.\n". The surface goes to the single writer when
// its vertex count is at most maxPoints, otherwise to the splitting writer. Gives the list of the
// new meshes' handles.
//
// A triangulator failure prints its text (for crossing boundaries followed by "The boundaries
// cross at (x, y).\n") and gives RSERR without a result; a line, file or writer failure gives nil
// and RSERR.
#pragma once

#include "arxapi.h"
#include "functions/run_mesh_function.h"

struct ConstrainedMeshFunction {
    MeshArgumentRules arguments;
    MeshWriters writers;
    bool fromFiles;  // the points come from point files
};

int RunConstrainedMeshFunction(const resbuf* args, const ConstrainedMeshFunction& function);
