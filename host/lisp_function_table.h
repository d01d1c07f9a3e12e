// kLispFunctionTable: the module's AutoLISP functions between the table's bounding null slots.
// Their order gives their function codes: 0 to 9 the ten functions triangulate, kaf-dct,
// kaf-dct-pface, kaf-dct-pfacemesh, kaf-dct-pfacemesh-withloadcsv, kaf-dct-subdmesh,
// kaf-dct-subdmesh-aa, kaf-dct-subdmesh-withloadcsv, kaf-mergingCoplanarFacesOfSubMesh,
// kaf-changeMeshColor; then the surface functions kaf-contours (10), kaf-surfaceStatistics (11),
// kaf-volume (12) and kaf-volumeToDatum (13); then the constrained surface functions
// kaf-cdt-subdmesh (14), kaf-cdt-pfacemesh (15), kaf-cdt-subdmesh-withloadcsv (16) and
// kaf-cdt-pfacemesh-withloadcsv (17); then the profile functions kaf-profile (18),
// kaf-sections (19) and kaf-isopach (20); then the drawing functions kaf-surfaceFaces (21),
// kaf-cdt-pface (22), kaf-cdt-pface-withloadcsv (23), kaf-contourLabels (24) and
// kaf-spotLevels (25); then kaf-thin-subdmesh-withloadcsv (26). Each entry's thunk hands the call's
// argument chain (acedGetArgs) to the function's worker and gives what the worker gives; a failure
// the worker lets out ends the function there (RunWorkerGuarded).
#pragma once

#include "arxapi.h"

extern const LispFunctionEntry* const kLispFunctionTable[29];
