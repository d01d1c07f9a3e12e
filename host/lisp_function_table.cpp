#include "host/lisp_function_table.h"

#include "functions/workers.h"

namespace {

template <int (*Worker)(const resbuf*)>
int CallWorker() {
    return Worker(acedGetArgs());
}

constexpr std::uint32_t kNoNameResource = 0xFFFFFFFF;

template <int (*Worker)(const resbuf*)>
constexpr LispFunctionEntry Entry(const ACHAR* name) {
    return LispFunctionEntry{name, &CallWorker<Worker>, true, kNoNameResource};
}

const LispFunctionEntry kTriangulate = Entry<RunTriangulate>(L"triangulate");
const LispFunctionEntry kKafDct = Entry<RunKafDct>(L"kaf-dct");
const LispFunctionEntry kKafDctPface = Entry<RunKafDctPface>(L"kaf-dct-pface");
const LispFunctionEntry kKafDctPfacemesh = Entry<RunKafDctPfacemesh>(L"kaf-dct-pfacemesh");
const LispFunctionEntry kKafDctPfacemeshWithLoadCsv =
    Entry<RunKafDctPfacemeshWithLoadCsv>(L"kaf-dct-pfacemesh-withloadcsv");
const LispFunctionEntry kKafDctSubdmesh = Entry<RunKafDctSubdmesh>(L"kaf-dct-subdmesh");
const LispFunctionEntry kKafDctSubdmeshAa = Entry<RunKafDctSubdmeshAa>(L"kaf-dct-subdmesh-aa");
const LispFunctionEntry kKafDctSubdmeshWithLoadCsv =
    Entry<RunKafDctSubdmeshWithLoadCsv>(L"kaf-dct-subdmesh-withloadcsv");
const LispFunctionEntry kKafMergingCoplanarFacesOfSubMesh =
    Entry<RunKafMergingCoplanarFacesOfSubMesh>(L"kaf-mergingCoplanarFacesOfSubMesh");
const LispFunctionEntry kKafChangeMeshColor = Entry<RunKafChangeMeshColor>(L"kaf-changeMeshColor");

}  // namespace

const LispFunctionEntry* const kLispFunctionTable[12] = {nullptr,
                                                         &kTriangulate,
                                                         &kKafDct,
                                                         &kKafDctPface,
                                                         &kKafDctPfacemesh,
                                                         &kKafDctPfacemeshWithLoadCsv,
                                                         &kKafDctSubdmesh,
                                                         &kKafDctSubdmeshAa,
                                                         &kKafDctSubdmeshWithLoadCsv,
                                                         &kKafMergingCoplanarFacesOfSubMesh,
                                                         &kKafChangeMeshColor,
                                                         nullptr};
