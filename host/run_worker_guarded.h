// RunWorkerGuarded(worker, args, name): runs the worker of the AutoLISP function name on the
// call's argument chain and gives what the worker gives. No exception leaves it; a failure that
// the worker did not end itself ends the function here, on the module's own path:
//   a failure of the geometry (geom::GeometryError)    its text printed as raised, and where
//                                                     boundaries cross, the crossing; nil set
//                                                     or no result, as `onGeometryFailure` says;
//   a shortage of memory (std::bad_alloc, and std::length_error for a list that cannot grow)
//                                                     the triangulator's "Not enough memory\n";
//   any other std::exception                          the aborted-function line under name
//                                                     with the exception's text;
//   anything else                                     the same with "Unexpected failure!";
// then (unless said otherwise) nil is set and RSERR given.
#pragma once

#include "arxapi.h"

// How a function ends after a failure of the geometry: with nil set, without a result (the
// functions that write meshes from files, outlines or constraint lines), or without a result
// unless it was called without arguments (the functions that write meshes from a point list).
enum class GeometryFailureResult { kNil, kNoResult, kNilWithoutArguments };

int RunWorkerGuarded(int (*worker)(const resbuf*), const resbuf* args, const wchar_t* name,
                     GeometryFailureResult onGeometryFailure = GeometryFailureResult::kNil);
