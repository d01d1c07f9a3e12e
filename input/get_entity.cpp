#include "input/get_entity.h"

#include <string>

#include "host/error_lines.h"
#include "input/open_model_space_entity.h"

std::int32_t GetEntity(AcDbEntity*& entity, const wchar_t* handleText) {
    const wchar_t* failedStep = L"";
    const Acad::ErrorStatus status = OpenModelSpaceEntity(entity, handleText, failedStep);
    if (status != Acad::eOk) {
        ReportStepError((std::wstring(L"GetEntity:") + failedStep).c_str(), status);
    }
    return 0;
}
