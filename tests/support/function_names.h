// kFunctionNames: the module's ten AutoLISP functions, each at its function code (0 to 9).
#pragma once

inline constexpr const wchar_t* kFunctionNames[10] = {
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
};
