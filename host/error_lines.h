// The module's error lines on the command line, printed with acutPrintf. kModuleName, "kaf", is
// the first thing in every one of them.
//
// ReportStepError(step, text): the step-error line of a failing host call inside a lower-level
// operation, "[Module 'kaf'] Error in function '<step>': <text>\n". text is the host's status text
// (acadErrorStatusText) or a fixed text such as "Vertex number mismatch!".
// ReportStepError(step, status): the same with the host's text for status.
// ReportFunctionError(label, message): ends an AutoLISP function after an argument or other
// aborting error. Prints "[Module 'kaf'] Error in function '<label>': <message>\nFunction
// aborted!\n", sets nil with acedRetNil and gives RSERR for the worker to return.
// PrintTriangulatorFailure(text): prints a triangulator's narrow failure text exactly as raised
// (it carries its own line break).
#pragma once

#include "arxapi.h"

constexpr const wchar_t* kModuleName = L"kaf";

void ReportStepError(const wchar_t* step, const wchar_t* text);
void ReportStepError(const wchar_t* step, Acad::ErrorStatus status);
int ReportFunctionError(const wchar_t* label, const wchar_t* message);
void PrintTriangulatorFailure(const char* text);
