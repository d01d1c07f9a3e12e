// The module's error lines as the command line shows them, for comparing with what a call printed.
//
// StepLine(step, text): "[Module 'kaf'] Error in function '<step>': <text>\n"; StepLine(step,
// status) the same with the host's text for status.
// Aborted(label, message): "[Module 'kaf'] Error in function '<label>': <message>\nFunction
// aborted!\n", the line that ends an AutoLISP function.
#pragma once

#include <string>

#include "arxapi.h"

inline std::wstring StepLine(const std::wstring& step, const std::wstring& text) {
    return L"[Module 'kaf'] Error in function '" + step + L"': " + text + L"\n";
}

inline std::wstring StepLine(const std::wstring& step, Acad::ErrorStatus status) {
    return StepLine(step, acadErrorStatusText(status));
}

inline std::wstring Aborted(const std::wstring& label, const std::wstring& message) {
    return L"[Module 'kaf'] Error in function '" + label + L"': " + message +
           L"\nFunction aborted!\n";
}
