// kaf-contours: (meshes interval base layer [majorStep [majorLayer]]). Draws the contour lines of
// the surface made of the meshes in the handle list (subdivision or polyface meshes, several
// meshes of a split surface joined into one) at the levels base + k * interval, as lightweight
// polylines at their level on the layer (nil: the current layer). With majorStep, every
// majorStep-th level counted from base is a major contour, drawn on majorLayer (default: layer).
// Prints "\nContours: %i polylines (%i closed, %i major) at %i levels from %.3f to %.3f", or
// "\nContours: none" when no level meets the surface, and gives the handles of the polylines,
// level by level upwards.
//
// Argument errors end the call with nil at the first bad argument; the interval (finite and
// positive), the base (finite) and majorStep (1 or more) are tested after all were read. A mesh
// that cannot be read, a surface that cannot be made of the meshes, too many levels or a failing
// writer end it with nil, the drawing unchanged.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/workers.h"
#include "geom/surface/trace_contours.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/result_lists.h"
#include "output/create_contour_polylines.h"

namespace {

constexpr const wchar_t* kStep = L"contours";

struct ContourArguments {
    std::vector<std::wstring> handles;
    double interval = 0.0;
    double base = 0.0;
    std::optional<std::wstring> layer;
    std::optional<std::int32_t> majorStep;
    std::optional<std::wstring> majorLayer;
};

// Reads the argument at cursor by its position (1 to 6); the handle list leaves the cursor on its
// end. Gives the error text, or null.
const wchar_t* ReadArgument(int position, const resbuf*& cursor, ContourArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 1:
            return ReadSurfaceArgument(cursor, out.handles,
                                       L"First argument has to be a handle list!");
        case 2:
            if (node->restype != RTREAL) {
                return L"Second argument has to be a real!";
            }
            out.interval = node->resval.rreal;
            return nullptr;
        case 3:
            if (node->restype != RTREAL) {
                return L"Third argument has to be a real!";
            }
            out.base = node->resval.rreal;
            return nullptr;
        case 4:
            return ReadLayer(node, out.layer) ? nullptr
                                              : L"Fourth argument has to be a string or nil!";
        case 5: {
            std::int32_t step = 0;
            if (!ReadInteger(node, step)) {
                return L"Fifth argument has to be an integer!";
            }
            out.majorStep = step;
            out.majorLayer = out.layer;
            return nullptr;
        }
        default:
            return ReadLayer(node, out.majorLayer) ? nullptr
                                                   : L"Sixth argument has to be a string or nil!";
    }
}

// Reads the arguments. Gives false after the argument error has been reported.
bool ReadArguments(const resbuf* args, ContourArguments& out) {
    const bool read =
        ReadPositionalArguments(args, 4, 6, kStep, [&out](int position, const resbuf*& cursor) {
            return ReadArgument(position, cursor, out);
        });
    if (!read) {
        return false;
    }
    const wchar_t* error = nullptr;
    if (!(std::isfinite(out.interval) && out.interval > 0.0)) {
        error = L"The interval has to be a positive number!";
    } else if (!std::isfinite(out.base)) {
        error = L"The base elevation has to be a finite number!";
    } else if (out.majorStep && *out.majorStep < 1) {
        error = L"The major step has to be 1 or more!";
    }
    if (error != nullptr) {
        ReportFunctionError(kStep, error);
        return false;
    }
    return true;
}

void PrintSummary(const std::vector<geom::ContourLine>& lines) {
    if (lines.empty()) {
        acutPrintf(L"\nContours: none");
        return;
    }
    int closed = 0;
    int major = 0;
    int levels = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        closed += lines[i].closed ? 1 : 0;
        major += lines[i].major ? 1 : 0;
        levels += i == 0 || lines[i].elevation != lines[i - 1].elevation ? 1 : 0;
    }
    acutPrintf(L"\nContours: %i polylines (%i closed, %i major) at %i levels from %.3f to %.3f",
               static_cast<int>(lines.size()), closed, major, levels, lines.front().elevation,
               lines.back().elevation);
}

const wchar_t* LayerName(const std::optional<std::wstring>& layer) {
    return layer ? layer->c_str() : nullptr;
}

}  // namespace

int RunKafContours(const resbuf* args) {
    ContourArguments arguments;
    if (!ReadArguments(args, arguments)) {
        return RSERR;
    }
    geom::WeldedSurface surface;
    if (!LoadSurface(arguments.handles, kStep, surface)) {
        return RSERR;
    }
    geom::ContourOptions options;
    options.base = arguments.base;
    options.interval = arguments.interval;
    options.majorEvery = arguments.majorStep.value_or(0);
    std::vector<geom::ContourLine> lines;
    geom::SurfaceStatus status = geom::SurfaceStatus::Ok;
    {
        SurfaceStepMeter meter(L"Tracing contours ...");
        status = geom::TraceContours(surface, options, lines, meter.Progress());
    }
    if (status != geom::SurfaceStatus::Ok) {
        return ReportSurfaceFailure(kStep, status);
    }
    std::vector<std::wstring> handles;
    if (CreateContourPolylines(lines, LayerName(arguments.layer), LayerName(arguments.majorLayer),
                               handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    PrintSummary(lines);
    return ReturnList(StringsToResultList(handles));
}
