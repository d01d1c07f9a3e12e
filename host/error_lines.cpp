#include "host/error_lines.h"

#include <string>

void ReportStepError(const wchar_t* step, const wchar_t* text) {
    acutPrintf(L"[Module '%s'] Error in function '%s': %s\n", kModuleName, step, text);
}

void ReportStepError(const wchar_t* step, Acad::ErrorStatus status) {
    ReportStepError(step, acadErrorStatusText(status));
}

int ReportFunctionError(const wchar_t* label, const wchar_t* message) {
    acutPrintf(L"[Module '%s'] Error in function '%s': %s\nFunction aborted!\n", kModuleName, label,
               message);
    acedRetNil();
    return RSERR;
}

// The triangulators' texts are plain ASCII; each byte widens to one character.
void PrintTriangulatorFailure(const char* text) {
    std::wstring wide;
    for (const char* c = text; c != nullptr && *c != '\0'; ++c) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    acutPrintf(L"%s", wide.c_str());
}
