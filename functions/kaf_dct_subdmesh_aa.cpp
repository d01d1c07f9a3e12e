// kaf-dct-subdmesh-aa: (polylineHandle meshHandles layer maxPoints zDelta). Takes the vertices of
// the subdivision meshes that lie inside the polyline's outline, raises them by zDelta,
// triangulates them afresh and writes new subdivision meshes of at most maxPoints vertices each
// (3 ... 3,000,000) on the layer (nil: none set). Gives the handles of the new meshes.
//
// Argument errors end the call with nil at the first bad argument, the range of maxPoints being
// tested after all five were read. A failure of the triangulator prints its text and gives RSERR
// with no result set; a failed search or writer gives nil and RSERR.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "functions/triangulate_and_write.h"
#include "functions/workers.h"
#include "geom/dct/dct.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"
#include "input/add_points_aa.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

namespace {

constexpr const wchar_t* kStep = L"dct_subdmesh_aa";

struct AaArguments {
    std::wstring polylineHandle;
    std::vector<std::wstring> meshHandles;
    std::optional<std::wstring> layer;
    std::int32_t maxPoints = 32767;
    double zDelta = 0.0;
};

// Reads the argument at cursor by its position (1 to 5); for the mesh list the cursor is left
// on the list's end, or null when the chain ended within the list. Gives the error text, or null.
const wchar_t* ReadArgument(int position, const resbuf*& cursor, AaArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 1:
            if (node->restype != RTSTR) {
                return L"First argument has to be a handle list!";
            }
            out.polylineHandle = node->resval.rstring != nullptr ? node->resval.rstring : L"";
            return nullptr;
        case 2:
            if (node->restype != RTLB) {
                return L"Second argument has to be a handle list!";
            }
            out.meshHandles = ReadHandleList(cursor);
            return nullptr;
        case 3:
            if (node->restype == RTSTR) {
                out.layer = node->resval.rstring != nullptr ? node->resval.rstring : L"";
            } else if (node->restype != RTNIL) {
                return L"Third argument has to be a string or nil!";
            }
            return nullptr;
        case 4:
            return ReadInteger(node, out.maxPoints) ? nullptr
                                                    : L"Fourth argument has to be an integer!";
        default:
            if (node->restype != RTREAL) {
                return L"Fifth argument has to be a real!";
            }
            out.zDelta = node->resval.rreal;
            return nullptr;
    }
}

// Reads all five arguments. Gives false after the argument error has been reported.
bool ReadArguments(const resbuf* args, AaArguments& out) {
    const bool read =
        ReadPositionalArguments(args, 5, kStep, [&out](int position, const resbuf*& cursor) {
            return ReadArgument(position, cursor, out);
        });
    if (!read) {
        return false;
    }
    if (static_cast<std::uint32_t>(out.maxPoints) - 3u > 2999997u) {
        ReportFunctionError(
            kStep,
            L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!");
        return false;
    }
    return true;
}

}  // namespace

int RunKafDctSubdmeshAa(const resbuf* args) {
    AaArguments arguments;
    if (!ReadArguments(args, arguments)) {
        return RSERR;
    }
    const wchar_t* layer = arguments.layer ? arguments.layer->c_str() : nullptr;

    std::vector<std::wstring> handles;
    geom::CDCT dct;
    PumpMessagesThrottled();
    const std::optional<std::int32_t> pointCount =
        add_points_aa(arguments.polylineHandle, arguments.meshHandles, dct, arguments.zDelta);
    if (!pointCount) {
        return RSERR;
    }
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");
    const int status = TriangulateAndWrite(dct, *pointCount, arguments.maxPoints, layer,
                                           MeshWriters{CreateSubDMesh, CreateSplittedSubDMesh},
                                           L"ready after %f seconds\n", handles);
    if (status != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}
