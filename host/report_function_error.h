// ReportFunctionError(label, message): ends an AutoLISP function after an argument or other
// aborting error. Prints "[Module 'kaf'] Error in function '<label>': <message>\nFunction
// aborted!\n", sets nil with acedRetNil and gives RSERR for the worker to return.
#pragma once

int ReportFunctionError(const wchar_t* label, const wchar_t* message);
