#include "output/open_model_space.h"

#include "host/error_lines.h"

namespace {

void ReportUnlessSilent(const wchar_t* step, Acad::ErrorStatus status) {
    if (step != nullptr) {
        ReportStepError(step, status);
    }
}

}  // namespace

AcDbBlockTableRecord* OpenModelSpaceForWrite(const wchar_t* blockTableStep,
                                             const wchar_t* modelSpaceStep) {
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    if (database == nullptr) {
        ReportUnlessSilent(blockTableStep, Acad::eNoDatabase);
        return nullptr;
    }
    AcDbBlockTable* blockTable = nullptr;
    Acad::ErrorStatus status = database->getSymbolTable(blockTable, AcDb::kForRead);
    if (status != Acad::eOk) {
        ReportUnlessSilent(blockTableStep, status);
        return nullptr;
    }
    AcDbBlockTableRecord* modelSpace = nullptr;
    status = blockTable->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite, false);
    blockTable->close();
    if (status != Acad::eOk) {
        ReportUnlessSilent(modelSpaceStep, status);
        return nullptr;
    }
    return modelSpace;
}
