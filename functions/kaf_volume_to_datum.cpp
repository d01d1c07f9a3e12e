// kaf-volumeToDatum: (meshes datum). Cut and fill between the surface made of the meshes in the
// handle list (subdivision or polyface meshes, several meshes of a split surface joined into one)
// and the level plane at the datum elevation (a real), over the surface's plan area: cut where the
// surface lies above the datum, fill where it lies below. Prints and gives the volumes as
// ReturnVolume does.
//
// Argument errors, a mesh that cannot be read, a surface that cannot be made of its meshes and a
// datum that is not finite end the call with nil.
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/return_volume.h"
#include "functions/workers.h"
#include "geom/surface/compute_datum_volume.h"
#include "host/argument_readers.h"

namespace {

constexpr const wchar_t* kStep = L"volumeToDatum";

}  // namespace

int RunKafVolumeToDatum(const resbuf* args) {
    std::vector<std::wstring> handles;
    double datum = 0.0;
    const bool read = ReadPositionalArguments(
        args, 2, kStep, [&](int position, const resbuf*& cursor) -> const wchar_t* {
            if (position == 1) {
                return ReadSurfaceArgument(cursor, handles,
                                           L"First argument has to be a handle list!");
            }
            if (cursor->restype != RTREAL) {
                return L"Second argument has to be a real!";
            }
            datum = cursor->resval.rreal;
            return nullptr;
        });
    if (!read) {
        return RSERR;
    }
    geom::WeldedSurface surface;
    if (!LoadSurface(handles, kStep, surface)) {
        return RSERR;
    }
    geom::VolumeResult result;
    const geom::SurfaceStatus status = geom::ComputeDatumVolume(surface, datum, result);
    if (status != geom::SurfaceStatus::Ok) {
        return ReportSurfaceFailure(kStep, status);
    }
    return ReturnVolume(result);
}
