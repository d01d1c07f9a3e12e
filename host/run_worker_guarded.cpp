#include "host/run_worker_guarded.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string>

#include "geom/kernel/geometry_error.h"
#include "host/error_lines.h"

namespace {

// The text of a standard exception, each byte one character.
std::wstring WideText(const char* text) {
    std::wstring wide;
    for (const char* c = text; c != nullptr && *c != '\0'; ++c) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return wide;
}

int EndAfterTriangulatorText(const char* text) {
    PrintTriangulatorFailure(text);
    acedRetNil();
    return RSERR;
}

}  // namespace

int RunWorkerGuarded(int (*worker)(const resbuf*), const resbuf* args, const wchar_t* name,
                     GeometryFailureResult onGeometryFailure) {
    try {
        return worker(args);
    } catch (const geom::GeometryError& failure) {
        PrintTriangulatorFailure(failure.what());
        if (failure.Kind() == geom::GeometryFailure::kBoundariesCross && failure.HasPosition()) {
            acutPrintf(L"The boundaries cross at (%.3f, %.3f).\n", failure.Position().x,
                       failure.Position().y);
        }
        if (onGeometryFailure == GeometryFailureResult::kNil ||
            (onGeometryFailure == GeometryFailureResult::kNilWithoutArguments && args == nullptr)) {
            acedRetNil();
        }
        return RSERR;
    } catch (const std::bad_alloc&) {
        return EndAfterTriangulatorText("Not enough memory\n");
    } catch (const std::length_error&) {
        return EndAfterTriangulatorText("Not enough memory\n");
    } catch (const std::exception& failure) {
        return ReportFunctionError(name, WideText(failure.what()).c_str());
    } catch (...) {
        return ReportFunctionError(name, L"Unexpected failure!");
    }
}
