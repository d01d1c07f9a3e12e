#include "functions/run_mesh_function.h"

#include "host/clock.h"
#include "host/print_triangulator_failure.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"

namespace {

// A triangulator failure (AddPoint's included) sets no result; a call without any argument still
// ends with nil.
int EndAfterTriangulatorFailure(const char* failure, const resbuf* args) {
    PrintTriangulatorFailure(failure);
    if (args == nullptr) {
        acedRetNil();
    }
    return RSERR;
}

}  // namespace

int RunMeshFunction(const resbuf* args, const MeshFunction& function) {
    geom::CDCT dct;
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");

    MeshArguments arguments;
    try {
        if (!ReadMeshFunctionArguments(args, dct, function.arguments, arguments)) {
            return RSERR;
        }
    } catch (const char* failure) {
        return EndAfterTriangulatorFailure(failure, args);
    }

    const std::int32_t start = ReadClock();
    std::vector<geom::CTriangle> triangles;
    std::vector<geom::CVertex> vertices;
    try {
        triangles = dct.Triangulate();
        vertices = dct.GetVertices();
    } catch (const char* failure) {
        return EndAfterTriangulatorFailure(failure, args);
    }
    const std::int32_t seconds = ElapsedMilliseconds(start, ReadClock()) / 1000;
    PumpMessagesThrottled();
    acutPrintf(L"ready after %f seconds\n", static_cast<double>(seconds));

    std::vector<std::wstring> handles;
    const int status =
        arguments.pointCount <= arguments.maxPoints
            ? function.single(triangles, vertices, arguments.Layer(), handles)
            : function.split(triangles, vertices, arguments.Layer(), arguments.maxPoints, handles);
    if (status != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}
