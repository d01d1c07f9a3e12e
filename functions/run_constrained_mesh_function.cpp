#include "functions/run_constrained_mesh_function.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "geom/cdt/cdt.h"
#include "geom/cdt/cdt_constraints.h"
#include "geom/thinning/greedy_thinning.h"
#include "host/argument_readers.h"
#include "host/clock.h"
#include "host/error_lines.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"
#include "input/read_constraint_lines.h"
#include "input/survey_point_file.h"

namespace {

constexpr const wchar_t* kOrdinals[] = {L"First", L"Second",  L"Third",  L"Fourth", L"Fifth",
                                        L"Sixth", L"Seventh", L"Eighth", L"Ninth",  L"Tenth"};

struct ConstrainedArguments {
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
enum class Slot {
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

std::wstring Message(int position, const wchar_t* rest) {
    return std::wstring(kOrdinals[position - 1]) + L" argument has to be " + rest;
}

// A list whose items all pass `take` (nil: an empty list); the cursor is left on its RTLE.
template <typename Take>
bool ReadList(const resbuf*& cursor, Take take) {
    if (cursor->restype == RTNIL) {
        return true;
    }
    if (cursor->restype != RTLB) {
        return false;
    }
    for (cursor = cursor->rbnext; cursor != nullptr && cursor->restype != RTLE;
         cursor = cursor->rbnext) {
        if (!take(cursor)) {
            return false;
        }
    }
    return cursor != nullptr;
}

bool ReadHandles(const resbuf*& cursor, LineRole role, std::vector<ConstraintLine>& lines) {
    return ReadList(cursor, [&](const resbuf* node) {
        if (node->restype != RTSTR || node->resval.rstring == nullptr) {
            return false;
        }
        lines.push_back(ConstraintLine{node->resval.rstring, role, {}, false});
        return true;
    });
}

bool ReadNumber(const resbuf* node, double& value) {
    std::int32_t whole = 0;
    if (node->restype == RTREAL) {
        value = node->resval.rreal;
    } else if (ReadInteger(node, whole)) {
        value = whole;
    } else {
        return false;
    }
    return true;
}

// Checks the argument at cursor; gives the error message (empty when accepted).
std::wstring ReadSlot(Slot slot, int position, const resbuf*& cursor, ConstrainedArguments& out,
                      const ConstrainedMeshFunction& function) {
    const resbuf* node = cursor;
    switch (slot) {
        case Slot::Points:
            return ReadList(cursor,
                            [&](const resbuf* item) {
                                if (!IsPointNode(item)) {
                                    return false;
                                }
                                const double z =
                                    item->restype == RT3DPOINT ? item->resval.rpoint[2] : 0.0;
                                out.points.emplace_back(item->resval.rpoint[0],
                                                        item->resval.rpoint[1], z);
                                return true;
                            })
                       ? L""
                       : Message(position, L"a point list or nil!");
        case Slot::Files:
            return ReadList(cursor,
                            [&](const resbuf* item) {
                                if (item->restype != RTSTR || item->resval.rstring == nullptr) {
                                    return false;
                                }
                                out.files.emplace_back(item->resval.rstring);
                                return true;
                            }) &&
                           !out.files.empty()
                       ? L""
                       : Message(position, L"a list of file names!");
        case Slot::Layout:
            return node->restype == RTSTR && node->resval.rstring != nullptr &&
                           ParseSurveyLayout(node->resval.rstring, out.columns)
                       ? L""
                       : Message(position, L"a column layout such as \"PNEZD\"!");
        case Slot::Delimiter:
            if (node->restype != RTSTR || node->resval.rstring == nullptr ||
                std::wcslen(node->resval.rstring) != 1) {
                return Message(position, L"a delimiter of one character!");
            }
            out.delimiter = node->resval.rstring[0];
            return L"";
        case Slot::Breaklines:
            return ReadHandles(cursor, LineRole::Breakline, out.lines)
                       ? L""
                       : Message(position, L"a handle list or nil!");
        case Slot::Boundary:
            if (node->restype == RTSTR && node->resval.rstring != nullptr) {
                out.lines.push_back(
                    ConstraintLine{node->resval.rstring, LineRole::OuterBoundary, {}, false});
                return L"";
            }
            return node->restype == RTNIL ? L"" : Message(position, L"a handle or nil!");
        case Slot::Holes:
            return ReadHandles(cursor, LineRole::Hole, out.lines)
                       ? L""
                       : Message(position, L"a handle list or nil!");
        case Slot::EdgeLength:
        case Slot::SnapTolerance: {
            double& length = slot == Slot::EdgeLength ? out.maxEdgeLength : out.snapTolerance;
            return ReadNumber(node, length) && std::isfinite(length) && length >= 0.0
                       ? L""
                       : Message(position, L"a length of 0 or more!");
        }
        case Slot::Tolerance:
            return ReadNumber(node, out.tolerance) && std::isfinite(out.tolerance) &&
                           out.tolerance >= 0.0
                       ? L""
                       : Message(position, L"a tolerance of 0 or more!");
        case Slot::Layer:
            return ReadLayer(node, out.layer) ? L"" : Message(position, L"a string or nil!");
        case Slot::MaxPoints:
            if (!ReadInteger(node, out.maxPoints)) {
                return function.arguments.integerMessage;
            }
            return IsMaxPointsInRange(out.maxPoints, function.arguments.largestMaxPoints)
                       ? L""
                       : function.arguments.rangeMessage;
    }
    return L"";  // not reached: every slot is a case above
}

bool ReadArguments(const resbuf* args, const ConstrainedMeshFunction& function,
                   ConstrainedArguments& out) {
    static const Slot kListSlots[] = {Slot::Points,    Slot::Breaklines,   Slot::Boundary,
                                      Slot::Holes,     Slot::EdgeLength,   Slot::Layer,
                                      Slot::MaxPoints, Slot::SnapTolerance};
    static const Slot kFileSlots[] = {
        Slot::Files, Slot::Layout,     Slot::Delimiter, Slot::Breaklines, Slot::Boundary,
        Slot::Holes, Slot::EdgeLength, Slot::Layer,     Slot::MaxPoints,  Slot::SnapTolerance};
    static const Slot kThinningSlots[] = {Slot::Files,     Slot::Layout, Slot::Delimiter,
                                          Slot::Tolerance, Slot::Layer,  Slot::MaxPoints};
    const Slot* slots = function.thins       ? kThinningSlots
                        : function.fromFiles ? kFileSlots
                                             : kListSlots;
    const int count = function.thins ? 6 : function.fromFiles ? 10 : 8;
    // maxPoints (and the snap tolerance of the constrained functions) may be left out.
    const int least = function.thins ? count - 1 : count - 2;
    std::wstring message;
    return ReadPositionalArguments(
        args, least, count, function.arguments.label, [&](int position, const resbuf*& cursor) {
            message = ReadSlot(slots[position - 1], position, cursor, out, function);
            return message.empty() ? nullptr : message.c_str();
        });
}

// Hands the lines to the triangulator in their roles: boundaries drawn as polylines clip only.
void AddLines(const std::vector<ConstraintLine>& lines, geom::CConstrainedDCT& cdt) {
    for (const ConstraintLine& line : lines) {
        const geom::CdtBoundaryElevation elevation =
            line.flat ? geom::CdtBoundaryElevation::FromSurface : geom::CdtBoundaryElevation::Own;
        switch (line.role) {
            case LineRole::Breakline:
                cdt.AddBreakline(line.vertices);
                break;
            case LineRole::OuterBoundary:
                cdt.SetOuterBoundary(line.vertices, elevation);
                break;
            case LineRole::Hole:
                cdt.AddHole(line.vertices, elevation);
                break;
            case LineRole::Alignment:
                break;  // the profile functions' line, never read for a mesh
        }
    }
}

// The range of the survey points' elevations.
struct ElevationRange {
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    void Extend(double z) {
        low = std::min(low, z);
        high = std::max(high, z);
    }
};

bool ReadPoints(const ConstrainedArguments& arguments, const wchar_t* label,
                const SurveyPointSink& add) {
    if (arguments.files.empty()) {
        for (const geom::CVertex& point : arguments.points) {
            add(point.x, point.y, point.z);
        }
        return true;
    }
    PumpMessagesThrottled();
    acutPrintf(L"\nReading points ...");
    SurveyReadCounts counts;
    return ReadSurveyPointFiles(arguments.files, arguments.columns, arguments.delimiter, label, add,
                                counts);
}

// The thinned surface as the mesh writers take it: the kept points, the triangles on them.
void ThinnedSurface(const std::vector<geom::ThinPoint>& points, const geom::ThinningResult& thinned,
                    std::vector<geom::CVertex>& vertices, std::vector<geom::CTriangle>& triangles) {
    std::vector<std::int32_t> vertexOf(points.size(), -1);
    for (const std::uint32_t p : thinned.kept) {
        vertexOf[p] = static_cast<std::int32_t>(vertices.size());
        vertices.emplace_back(points[p].x, points[p].y, points[p].z);
    }
    for (const auto& corners : thinned.triangles) {
        geom::CTriangle triangle;
        triangle.i1 = vertexOf[corners[0]];
        triangle.i2 = vertexOf[corners[1]];
        triangle.i3 = vertexOf[corners[2]];
        triangle.p1 = vertices[static_cast<std::size_t>(triangle.i1)];
        triangle.p2 = vertices[static_cast<std::size_t>(triangle.i2)];
        triangle.p3 = vertices[static_cast<std::size_t>(triangle.i3)];
        triangles.push_back(triangle);
    }
}

// Reads the points, thins them to the tolerance and writes the thinned surface.
int RunThinning(const ConstrainedArguments& arguments, const ConstrainedMeshFunction& function) {
    std::vector<geom::ThinPoint> points;
    if (!ReadPoints(arguments, function.arguments.label, [&points](double x, double y, double z) {
            points.push_back({x, y, z});
        })) {
        return RSERR;
    }
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");
    const std::int32_t start = ReadClock();
    std::vector<geom::CVertex> vertices;
    std::vector<geom::CTriangle> triangles;
    const geom::ThinningResult thinned = geom::ThinToVerticalTolerance(points, arguments.tolerance);
    ThinnedSurface(points, thinned, vertices, triangles);
    acutPrintf(L"kept %d of %d points within %g ... ", static_cast<int>(vertices.size()),
               static_cast<int>(points.size()), arguments.tolerance);
    std::vector<std::wstring> handles;
    const auto vertexCount = static_cast<std::int32_t>(vertices.size());
    const wchar_t* layer = arguments.layer ? arguments.layer->c_str() : nullptr;
    if (WriteTriangulation(triangles, vertices, start, vertexCount, arguments.maxPoints, layer,
                           function.writers, L"ready after %f seconds\n", handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}

// Breaklines drawn as polylines keep their elevation; one outside the points' elevations (a
// polyline left at 0) is worth a warning.
void WarnOfFlatBreaklines(const std::vector<ConstraintLine>& lines, const ElevationRange& range) {
    for (const ConstraintLine& line : lines) {
        if (line.role != LineRole::Breakline || !line.flat || line.vertices.empty() ||
            range.low > range.high) {
            continue;
        }
        const double z = line.vertices.front().z;
        if (z < range.low || z > range.high) {
            acutPrintf(
                L"\nBreakline %ls lies at %.3f, outside the points' elevations %.3f to %.3f.",
                line.handle.c_str(), z, range.low, range.high);
        }
    }
}

// The timing line, followed by what the snap did and a note on vertices closer than a millionth
// of the surface's extent.
std::wstring TimingLine(const geom::CConstrainedDCT& cdt, double snapTolerance,
                        const std::vector<geom::CVertex>& vertices) {
    std::wstring line = L"ready after %f seconds\n";
    wchar_t text[200];
    if (snapTolerance > 0.0) {
        const geom::CdtSnapCounts& counts = cdt.SnapCounts();
        std::swprintf(text, 200,
                      L"Points snapped: %lu (onto lines %lu, onto earlier points %lu), line "
                      L"vertices joined: %lu\n",
                      static_cast<unsigned long>(counts.pointsToLines + counts.pointsDropped),
                      static_cast<unsigned long>(counts.pointsToLines),
                      static_cast<unsigned long>(counts.pointsDropped),
                      static_cast<unsigned long>(counts.lineVerticesJoined));
        line += text;
    }
    double low[2] = {HUGE_VAL, HUGE_VAL};
    double high[2] = {-HUGE_VAL, -HUGE_VAL};
    for (const geom::CVertex& v : vertices) {
        low[0] = std::min(low[0], v.x);
        low[1] = std::min(low[1], v.y);
        high[0] = std::max(high[0], v.x);
        high[1] = std::max(high[1], v.y);
    }
    const double distance =
        vertices.empty() ? 0.0 : 1e-6 * std::max(high[0] - low[0], high[1] - low[1]);
    const std::size_t close = geom::CdtCountCloseVertices(vertices, distance);
    if (close > 0) {
        std::swprintf(text, 200,
                      L"Note: %lu vertices lie closer than %g (a millionth of the surface's "
                      L"extent) to another; a snap tolerance joins them.\n",
                      static_cast<unsigned long>(close), distance);
        line += text;
    }
    // The line is a format: the printed figures hold no percent sign.
    return line;
}

}  // namespace

int RunConstrainedMeshFunction(const resbuf* args, const ConstrainedMeshFunction& function) {
    ConstrainedArguments arguments;
    if (!ReadArguments(args, function, arguments)) {
        return RSERR;
    }
    if (function.thins) {
        return RunThinning(arguments, function);
    }
    if (!ReadConstraintLines(arguments.lines, function.arguments.label)) {
        return RSERR;
    }
    const wchar_t* layer = arguments.layer ? arguments.layer->c_str() : nullptr;

    std::vector<std::wstring> handles;
    geom::CConstrainedDCT cdt;
    cdt.SetSnapTolerance(arguments.snapTolerance);
    ElevationRange range;
    const auto add = [&cdt, &range](double x, double y, double z) {
        cdt.AddPoint(x, y, z);
        if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) {
            range.Extend(z);
        }
    };
    if (!ReadPoints(arguments, function.arguments.label, add)) {
        return RSERR;
    }
    WarnOfFlatBreaklines(arguments.lines, range);
    AddLines(arguments.lines, cdt);
    cdt.SetMaxEdgeLength(arguments.maxEdgeLength);
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");
    const std::int32_t start = ReadClock();
    const std::vector<geom::CTriangle> triangles = cdt.Triangulate();
    const std::vector<geom::CVertex>& vertices = cdt.GetVertices();
    const auto vertexCount = static_cast<std::int32_t>(vertices.size());
    const std::wstring timing = TimingLine(cdt, arguments.snapTolerance, vertices);
    if (WriteTriangulation(triangles, vertices, start, vertexCount, arguments.maxPoints, layer,
                           function.writers, timing.c_str(), handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}
