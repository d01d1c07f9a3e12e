// kaf-mergingCoplanarFacesOfSubMesh: (handle). Finds the subdivision mesh with that handle in
// model space, merges its coplanar faces and prints "\n%i faces merged." with the count. The
// result is nil: RSRSLT after success, RSERR after an error, which ends the call at once with the
// failing step (the lookup's, under "mergingCoplanarFacesOfSubMesh:<step>") or text.
#include <string>

#include "functions/workers.h"
#include "host/error_lines.h"
#include "input/entity_lookup.h"
#include "postprocess/merge_coplanar_faces.h"

namespace {

constexpr const wchar_t* kStep = L"mergingCoplanarFacesOfSubMesh";

}  // namespace

int RunKafMergingCoplanarFacesOfSubMesh(const resbuf* args) {
    if (args == nullptr) {
        return ReportFunctionError(kStep, L"Too few arguments!");
    }
    if (args->restype != RTSTR) {
        return ReportFunctionError(kStep, L"First argument has to be a string (handle name)!");
    }
    AcDbEntity* entity = nullptr;
    const wchar_t* failedStep = L"";
    const Acad::ErrorStatus status = OpenModelSpaceEntity(
        entity, args->resval.rstring != nullptr ? args->resval.rstring : L"", failedStep);
    if (status != Acad::eOk) {
        return ReportFunctionError((std::wstring(kStep) + L":" + failedStep).c_str(),
                                   acadErrorStatusText(status));
    }
    if (!entity->isA()->isDerivedFrom(AcDbSubDMesh::desc())) {
        entity->close();
        return ReportFunctionError(kStep, L"Object is not a SubDMesh!");
    }
    const std::int32_t merged = MergeCoplanarFaces(*static_cast<AcDbSubDMesh*>(entity));
    entity->close();
    acutPrintf(L"\n%i faces merged.", merged);
    acedRetNil();
    return RSRSLT;
}
