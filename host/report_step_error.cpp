#include "host/report_step_error.h"

#include "host/module_name.h"

void ReportStepError(const wchar_t* step, const wchar_t* text) {
    acutPrintf(L"[Module '%s'] Error in function '%s': %s\n", kModuleName, step, text);
}

void ReportStepError(const wchar_t* step, Acad::ErrorStatus status) {
    ReportStepError(step, acadErrorStatusText(status));
}
