// RunWorkerGuarded(worker, args, name): runs the worker of the AutoLISP function name on the
// call's argument chain and gives what the worker gives. No exception leaves it; a failure that
// the worker did not end itself ends the function here, on the module's own path:
//   a failure of the geometry (geom::GeometryError)    its text printed as raised, and where
//                                                     boundaries cross, the crossing;
//   a shortage of memory (std::bad_alloc, and std::length_error for a list that cannot grow)
//                                                     the triangulator's "Not enough memory\n";
//   any other std::exception                          the aborted-function line under name
//                                                     with the exception's text;
//   anything else                                     the same with "Unexpected failure!";
// then nil is set and RSERR given.
#pragma once

#include "arxapi.h"

int RunWorkerGuarded(int (*worker)(const resbuf*), const resbuf* args, const wchar_t* name);
