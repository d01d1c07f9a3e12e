#include "functions/run_mesh_function.h"

#include "host/error_lines.h"
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
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");

    std::vector<std::wstring> handles;
    int status = RTERROR;
    try {
        geom::CDCT dct;
        MeshArguments arguments;
        if (!ReadMeshFunctionArguments(args, dct, function.arguments, arguments)) {
            return RSERR;
        }
        status =
            TriangulateAndWrite(dct, arguments.pointCount, arguments.maxPoints, arguments.Layer(),
                                function.writers, L"ready after %f seconds\n", handles);
    } catch (const char* failure) {
        return EndAfterTriangulatorFailure(failure, args);
    }
    if (status != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}
