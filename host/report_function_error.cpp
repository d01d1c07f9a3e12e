#include "host/report_function_error.h"

#include "arxapi.h"
#include "host/module_name.h"

int ReportFunctionError(const wchar_t* label, const wchar_t* message) {
    acutPrintf(L"[Module '%s'] Error in function '%s': %s\nFunction aborted!\n", kModuleName, label,
               message);
    acedRetNil();
    return RSERR;
}
