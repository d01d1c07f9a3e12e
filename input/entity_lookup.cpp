#include "input/entity_lookup.h"

#include <memory>
#include <string>

#include "host/error_lines.h"
#include "output/close_on_exit.h"

Acad::ErrorStatus OpenModelSpaceEntity(AcDbEntity*& entity, const wchar_t* handleText,
                                       const wchar_t*& failedStep) {
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    AcDbObjectId id;
    Acad::ErrorStatus status = database->getAcDbObjectId(id, false, AcDbHandle(handleText), 0);
    if (status != Acad::eOk) {
        failedStep = L"getAcDbObjectId";
        return status;
    }

    AcDbBlockTable* blockTable = nullptr;
    status = database->getSymbolTable(blockTable, AcDb::kForRead);
    if (status != Acad::eOk) {
        failedStep = L"getSymbolTable";
        return status;
    }
    AcDbBlockTableRecord* modelSpace = nullptr;
    status = blockTable->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForRead, false);
    blockTable->close();
    if (status != Acad::eOk) {
        failedStep = L"getAt";
        return status;
    }
    const CloseOnExit closeModelSpace(modelSpace);

    AcDbBlockTableRecordIterator* rawIterator = nullptr;
    status = modelSpace->newIterator(rawIterator, true, true);
    if (status != Acad::eOk) {
        failedStep = L"newIterator";
        return status;
    }
    const std::unique_ptr<AcDbBlockTableRecordIterator> iterator(rawIterator);
    status = iterator->seek(id);
    if (status != Acad::eOk) {
        failedStep = L"seek";
        return status;
    }
    AcDbEntity* found = nullptr;
    status = iterator->getEntity(found, AcDb::kForRead, false);
    if (status != Acad::eOk) {
        failedStep = L"getEntity";
        return status;
    }
    entity = found;
    return Acad::eOk;
}

std::int32_t GetEntity(AcDbEntity*& entity, const wchar_t* handleText) {
    const wchar_t* failedStep = L"";
    const Acad::ErrorStatus status = OpenModelSpaceEntity(entity, handleText, failedStep);
    if (status != Acad::eOk) {
        ReportStepError((std::wstring(L"GetEntity:") + failedStep).c_str(), status);
    }
    return 0;
}
