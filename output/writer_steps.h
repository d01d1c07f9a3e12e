// The steps the writers are made of.
//
// OpenModelSpaceForWrite(blockTableStep, modelSpaceStep): opens the working drawing's block table
// for read, its "*Model_Space" record for write (an erased record is refused), and closes the
// block table again at once, whatever the record's opening gave. Gives the open model-space record,
// which the caller must close, or null when a step failed. A failure is printed as a step-error
// line under that step's name; a null name keeps the failure silent.
//
// NewEntity<T>(constructor arguments...): a new drawing entity in the hands of the operation that
// makes it. AppendTo(modelSpace, step) adds it to model space (a failure is printed as a
// step-error line under step, unless step is null) and gives whether it is there. When the scope
// ends, an appended entity is closed (the drawing owns it) and one never appended is deleted (it is
// not in the drawing).
//
// SetLayerReported(entity, layer, step): puts the entity (sub-entities included) on the named
// layer, which must exist and may not be hidden. A null layer leaves the entity as it is. Gives
// false after printing the step-error line under step when the host refuses the layer.
//
// SetSubDMeshReported(mesh, points, faces): gives a subdivision mesh its points and its face list
// (per face the corner count 3 and three point numbers from 0) at subdivision level 0. The host's
// status is not examined. When the host throws a wide text instead, prints the step-error line
// "CreateSubDMesh:setSubDMesh" with the text of the writer's last status, which is that of the
// last successful step (eOk), and gives false.
//
// FinishSubDMesh(mesh, points, faces, modelSpace, handles): the last steps of a subdivision mesh:
// SetSubDMeshReported, then AppendTo(modelSpace, "CreateSubDMesh:appendAcDbEntity"), then the
// handle appended to handles. Gives false when a step failed (its line printed).
//
// AppendPFaceVertex(mesh, vertex): appends a new polyface-mesh vertex at the vertex's x, y, z to
// the mesh and closes it. AppendFaceRecord(mesh, first, second, third): appends a triangular face
// record to a polyface mesh and closes it; the corners are the mesh's vertex numbers, counted from
// 1, and the fourth corner is 0 (none). For both the host's status is not examined; a record the
// mesh refused is deleted.
//
// AppendHandleText(object, handles): appends the object's handle, as the host writes it in
// hexadecimal text, to the end of handles.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "arxapi.h"
#include "geom/kernel/vertex.h"
#include "host/error_lines.h"

AcDbBlockTableRecord* OpenModelSpaceForWrite(const wchar_t* blockTableStep,
                                             const wchar_t* modelSpaceStep);

template <typename T>
class NewEntity {
public:
    template <typename... Args>
    explicit NewEntity(Args&&... args) : entity_(new T(std::forward<Args>(args)...)) {}
    ~NewEntity() {
        if (appended_) {
            entity_->close();
        } else {
            delete entity_;
        }
    }
    NewEntity(const NewEntity&) = delete;
    NewEntity& operator=(const NewEntity&) = delete;

    T& operator*() const { return *entity_; }
    T* operator->() const { return entity_; }

    bool AppendTo(AcDbBlockTableRecord& modelSpace, const wchar_t* step) {
        AcDbObjectId id;
        const Acad::ErrorStatus status = modelSpace.appendAcDbEntity(id, entity_);
        if (status != Acad::eOk) {
            if (step != nullptr) {
                ReportStepError(step, status);
            }
            return false;
        }
        appended_ = true;
        return true;
    }

private:
    T* entity_;
    bool appended_ = false;
};

bool SetLayerReported(AcDbEntity& entity, const wchar_t* layer, const wchar_t* step);

bool SetSubDMeshReported(AcDbSubDMesh& mesh, const AcGePoint3dArray& points,
                         const AcArray<Adesk::Int32>& faces);

bool FinishSubDMesh(NewEntity<AcDbSubDMesh>& mesh, const AcGePoint3dArray& points,
                    const AcArray<Adesk::Int32>& faces, AcDbBlockTableRecord& modelSpace,
                    std::vector<std::wstring>& handles);

void AppendPFaceVertex(AcDbPolyFaceMesh& mesh, const geom::CVertex& vertex);
void AppendFaceRecord(AcDbPolyFaceMesh& mesh, std::int32_t first, std::int32_t second,
                      std::int32_t third);

void AppendHandleText(const AcDbObject& object, std::vector<std::wstring>& handles);
