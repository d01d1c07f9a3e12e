// kaf-volume: (existing design). Cut and fill between two surfaces, each given as a handle list
// of its meshes (subdivision or polyface meshes, several meshes of a split surface joined into
// one), over the plan area where both exist: cut where the existing surface lies above the design,
// fill where it lies below. The triangles of both are overlaid exactly in plan and the difference
// integrated over each piece. Prints and gives the volumes as ReturnVolume does.
//
// Argument errors, a mesh that cannot be read and a surface that cannot be made of its meshes
// end the call with nil.
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/return_volume.h"
#include "functions/workers.h"
#include "geom/surface/compute_volume.h"
#include "host/argument_readers.h"

namespace {

constexpr const wchar_t* kStep = L"volume";

}  // namespace

int RunKafVolume(const resbuf* args) {
    std::vector<std::wstring> existingHandles;
    std::vector<std::wstring> designHandles;
    const bool read = ReadPositionalArguments(
        args, 2, kStep, [&](int position, const resbuf*& cursor) -> const wchar_t* {
            if (position == 1) {
                return ReadSurfaceArgument(cursor, existingHandles,
                                           L"First argument has to be a handle list!");
            }
            return ReadSurfaceArgument(cursor, designHandles,
                                       L"Second argument has to be a handle list!");
        });
    if (!read) {
        return RSERR;
    }
    geom::WeldedSurface existing;
    geom::WeldedSurface design;
    if (!LoadSurface(existingHandles, kStep, existing) ||
        !LoadSurface(designHandles, kStep, design)) {
        return RSERR;
    }
    geom::VolumeResult result;
    geom::SurfaceStatus status = geom::SurfaceStatus::Ok;
    {
        SurfaceStepMeter meter(L"Computing volumes ...");
        status = geom::ComputeVolume(existing, design, result, meter.Progress());
    }
    if (status != geom::SurfaceStatus::Ok) {
        return ReportSurfaceFailure(kStep, status);
    }
    return ReturnVolume(result);
}
