#include "functions/annotation_arguments.h"

#include <cmath>

#include "functions/load_surface.h"
#include "host/argument_readers.h"

namespace {

constexpr std::int32_t kMostDecimals = 6;

}  // namespace

const wchar_t* ReadAnnotationArgument(int position, const resbuf*& cursor,
                                      AnnotationArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 1:
            return ReadSurfaceArgument(cursor, out.handles,
                                       L"First argument has to be a handle list!");
        case 2:
            return ReadLayer(node, out.layer) ? nullptr
                                              : L"Second argument has to be a string or nil!";
        case 3:
            if (node->restype != RTREAL) {
                return L"Third argument has to be a real!";
            }
            out.height = node->resval.rreal;
            return nullptr;
        default:
            return ReadInteger(node, out.decimals) ? nullptr
                                                   : L"Fourth argument has to be an integer!";
    }
}

const wchar_t* AnnotationArgumentFault(const AnnotationArguments& out) {
    if (!IsPositiveNumber(out.height)) {
        return L"The text height has to be a positive number!";
    }
    if (out.decimals < 0 || out.decimals > kMostDecimals) {
        return L"The decimals have to be a number of 0 up to 6!";
    }
    return nullptr;
}

bool IsPositiveNumber(double value) {
    return std::isfinite(value) && value > 0.0;
}
