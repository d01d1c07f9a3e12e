// kFunctionNames: the module's AutoLISP functions, each at its function code: the ten (0 to 9),
// then the surface functions (10 to 13), then the constrained surface functions (14 to 17), then
// the profile functions (18 to 20), then the drawing functions (21 to 25), then
// kaf-thin-subdmesh-withloadcsv (26).
#pragma once

inline constexpr const wchar_t* kFunctionNames[27] = {
    L"triangulate",
    L"kaf-dct",
    L"kaf-dct-pface",
    L"kaf-dct-pfacemesh",
    L"kaf-dct-pfacemesh-withloadcsv",
    L"kaf-dct-subdmesh",
    L"kaf-dct-subdmesh-aa",
    L"kaf-dct-subdmesh-withloadcsv",
    L"kaf-mergingCoplanarFacesOfSubMesh",
    L"kaf-changeMeshColor",
    L"kaf-contours",
    L"kaf-surfaceStatistics",
    L"kaf-volume",
    L"kaf-volumeToDatum",
    L"kaf-cdt-subdmesh",
    L"kaf-cdt-pfacemesh",
    L"kaf-cdt-subdmesh-withloadcsv",
    L"kaf-cdt-pfacemesh-withloadcsv",
    L"kaf-profile",
    L"kaf-sections",
    L"kaf-isopach",
    L"kaf-surfaceFaces",
    L"kaf-cdt-pface",
    L"kaf-cdt-pface-withloadcsv",
    L"kaf-contourLabels",
    L"kaf-spotLevels",
    L"kaf-thin-subdmesh-withloadcsv",
};
