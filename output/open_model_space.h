// OpenModelSpaceForWrite(blockTableStep, modelSpaceStep): opens the working drawing's block table
// for read, its "*Model_Space" record for write (an erased record is refused), and closes the
// block table again at once, whatever the record's opening gave. Gives the open model-space record,
// which the caller must close, or null when a step failed. A failure is printed as a step-error
// line under that step's name; a null name keeps the failure silent.
#pragma once

#include "arxapi.h"

AcDbBlockTableRecord* OpenModelSpaceForWrite(const wchar_t* blockTableStep,
                                             const wchar_t* modelSpaceStep);
