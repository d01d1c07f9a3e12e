#include "functions/mesh_function_arguments.h"

#include "host/argument_readers.h"
#include "host/error_lines.h"

namespace {

bool IsInRange(std::int32_t maxPoints, std::int32_t largest) {
    // One unsigned comparison covers both ends of 3 ... largest.
    return static_cast<std::uint32_t>(maxPoints) - 3u <= static_cast<std::uint32_t>(largest - 3);
}

}  // namespace

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
    if (maximum->restype == RTSHORT) {
        arguments.maxPoints = maximum->resval.rint;
    } else if (maximum->restype == RTLONG) {
        arguments.maxPoints = maximum->resval.rlong;
    } else {
        ReportFunctionError(rules.label, rules.integerMessage);
        return false;
    }
    if (!IsInRange(arguments.maxPoints, rules.largestMaxPoints)) {
        ReportFunctionError(rules.label, rules.rangeMessage);
        return false;
    }
    return true;
}
