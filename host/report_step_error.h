// ReportStepError(step, text): prints the step-error line of a failing host call inside a
// lower-level operation, "[Module 'kaf'] Error in function '<step>': <text>\n". text is the host's
// status text (acadErrorStatusText) or a fixed text such as "Vertex number mismatch!".
#pragma once

#include "arxapi.h"

void ReportStepError(const wchar_t* step, const wchar_t* text);
// The same with the host's text for status.
void ReportStepError(const wchar_t* step, Acad::ErrorStatus status);
