#include "functions/run_mesh_function.h"

#include <string>
#include <vector>

#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"

bool IsMaxPointsInRange(std::int32_t maxPoints, std::int32_t largest) {
    // One unsigned comparison covers both ends of 3 ... largest.
    return static_cast<std::uint32_t>(maxPoints) - 3u <= static_cast<std::uint32_t>(largest - 3);
}

namespace {

struct MeshArguments {
    std::int32_t pointCount = 0;
    bool hasLayer = false;
    std::wstring layer;
    std::int32_t maxPoints = 32767;

    // The layer for the writers: null when none was given.
    const wchar_t* Layer() const { return hasLayer ? layer.c_str() : nullptr; }
};

// Gives true when all arguments are read; false after the argument-error line (nil set). A
// failure of AddPoint passes through to the caller as thrown.
bool ReadMeshFunctionArguments(const resbuf* args, geom::CDCT& dct, const MeshArgumentRules& rules,
                               MeshArguments& arguments) {
    const PointWalk walk = ReadPointListCounting(args, dct);
    arguments.pointCount = walk.count;

    const resbuf* layer = walk.end;
    if (layer == nullptr) {
        return true;
    }
    if (layer->restype == RTSTR) {
        arguments.hasLayer = true;
        arguments.layer = layer->resval.rstring != nullptr ? layer->resval.rstring : L"";
    } else if (layer->restype != RTNIL) {
        ReportFunctionError(rules.label, L"Layer name has to be a string or nil!");
        return false;
    }

    const resbuf* maximum = layer->rbnext;
    if (maximum == nullptr) {
        return true;
    }
    if (!ReadInteger(maximum, arguments.maxPoints)) {
        ReportFunctionError(rules.label, rules.integerMessage);
        return false;
    }
    if (!IsMaxPointsInRange(arguments.maxPoints, rules.largestMaxPoints)) {
        ReportFunctionError(rules.label, rules.rangeMessage);
        return false;
    }
    return true;
}

}  // namespace

int RunMeshFunction(const resbuf* args, const MeshFunction& function) {
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");

    std::vector<std::wstring> handles;
    int status = RTERROR;
    geom::CDCT dct;
    MeshArguments arguments;
    if (!ReadMeshFunctionArguments(args, dct, function.arguments, arguments)) {
        return RSERR;
    }
    status = TriangulateAndWrite(dct, arguments.pointCount, arguments.maxPoints, arguments.Layer(),
                                 function.writers, L"ready after %f seconds\n", handles);
    if (status != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}
