// kaf-changeMeshColor: (handles z1 z2 colour1 colour2). Colours every vertex of the subdivision
// meshes named in the handle list by its elevation, on the ramp from colour1 (rgb list) at z1 to
// colour2 at z2 (reals, which must differ); see changeVertexColor. Gives RSRSLT without a result
// of its own (nil) once all meshes are coloured. Argument errors end the call with nil at the
// first bad argument; a handle that leads to no subdivision mesh stops the run with nil and
// RSERR, the meshes before it keeping their new colours.
#include <cmath>
#include <string>
#include <vector>

#include "functions/workers.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "postprocess/change_vertex_color.h"
#include "postprocess/colour.h"

namespace {

constexpr const wchar_t* kStep = L"changeMeshColor";

struct ColourArguments {
    std::vector<std::wstring> handles;
    double z1 = 0.0;
    double z2 = 0.0;
    RgbColour colour1;
    RgbColour colour2;
};

// A real argument: an RTREAL node holding a finite number (a NaN or an infinity has no place on
// the ramp).
bool IsFiniteReal(const resbuf* node) {
    return node->restype == RTREAL && std::isfinite(node->resval.rreal);
}

// An rgb list: an RT3DPOINT node whose three parts are finite numbers (finite parts outside
// 0 ... 255 are clamped when the colours are made).
bool IsRgbList(const resbuf* node) {
    return node->restype == RT3DPOINT && std::isfinite(node->resval.rpoint[0]) &&
           std::isfinite(node->resval.rpoint[1]) && std::isfinite(node->resval.rpoint[2]);
}

RgbColour RgbOf(const resbuf* node) {
    RgbColour rgb;
    rgb.red = node->resval.rpoint[0];
    rgb.green = node->resval.rpoint[1];
    rgb.blue = node->resval.rpoint[2];
    return rgb;
}

// Reads the argument at cursor by its position (1 to 5); for the handle list the cursor is left
// on the list's end, or null when the chain ended within the list. Gives the error text, or null.
const wchar_t* ReadArgument(int position, const resbuf*& cursor, ColourArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 1:
            if (node->restype != RTLB) {
                return L"First argument has to be a handle list!";
            }
            out.handles = ReadHandleList(cursor);
            return nullptr;
        case 2:
            if (!IsFiniteReal(node)) {
                return L"Second argument has to be a real!";
            }
            out.z1 = node->resval.rreal;
            return nullptr;
        case 3:
            if (!IsFiniteReal(node)) {
                return L"Third argument has to be a real!";
            }
            out.z2 = node->resval.rreal;
            return nullptr;
        case 4:
            if (!IsRgbList(node)) {
                return L"Fourth argument has to be a rgb list!";
            }
            out.colour1 = RgbOf(node);
            return nullptr;
        default:
            if (!IsRgbList(node)) {
                return L"Fifth argument has to be a rgb list!";
            }
            out.colour2 = RgbOf(node);
            return nullptr;
    }
}

// Reads all five arguments. Gives false after the argument error has been reported.
bool ReadArguments(const resbuf* args, ColourArguments& out) {
    const bool read =
        ReadPositionalArguments(args, 5, kStep, [&out](int position, const resbuf*& cursor) {
            return ReadArgument(position, cursor, out);
        });
    if (!read) {
        return false;
    }
    // The ramp divides by z2 - z1: equal elevations define no colour.
    if (out.z1 == out.z2) {
        ReportFunctionError(kStep, L"Second and third argument have to differ!");
        return false;
    }
    return true;
}

}  // namespace

int RunKafChangeMeshColor(const resbuf* args) {
    ColourArguments arguments;
    if (!ReadArguments(args, arguments)) {
        return RSERR;
    }
    if (!changeVertexColor(arguments.handles, arguments.z1, arguments.z2, arguments.colour1,
                           arguments.colour2)) {
        acedRetNil();
        return RSERR;
    }
    return RSRSLT;
}
