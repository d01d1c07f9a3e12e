#include "host/lisp_function_table.h"

#include "functions/workers.h"
#include "host/run_worker_guarded.h"

namespace {

// The entry the host calls: hands the call's arguments to the worker, which no exception leaves.
template <int (*Worker)(const resbuf*), const ACHAR* Name>
int CallWorker() {
    return RunWorkerGuarded(Worker, acedGetArgs(), Name);
}

constexpr std::uint32_t kNoNameResource = 0xFFFFFFFF;

template <int (*Worker)(const resbuf*), const ACHAR* Name>
constexpr LispFunctionEntry Entry() {
    return LispFunctionEntry{Name, &CallWorker<Worker, Name>, true, kNoNameResource};
}

constexpr ACHAR kTriangulateName[] = L"triangulate";
constexpr ACHAR kKafDctName[] = L"kaf-dct";
constexpr ACHAR kKafDctPfaceName[] = L"kaf-dct-pface";
constexpr ACHAR kKafDctPfacemeshName[] = L"kaf-dct-pfacemesh";
constexpr ACHAR kKafDctPfacemeshWithLoadCsvName[] = L"kaf-dct-pfacemesh-withloadcsv";
constexpr ACHAR kKafDctSubdmeshName[] = L"kaf-dct-subdmesh";
constexpr ACHAR kKafDctSubdmeshAaName[] = L"kaf-dct-subdmesh-aa";
constexpr ACHAR kKafDctSubdmeshWithLoadCsvName[] = L"kaf-dct-subdmesh-withloadcsv";
constexpr ACHAR kKafMergingCoplanarFacesOfSubMeshName[] = L"kaf-mergingCoplanarFacesOfSubMesh";
constexpr ACHAR kKafChangeMeshColorName[] = L"kaf-changeMeshColor";
constexpr ACHAR kKafContoursName[] = L"kaf-contours";
constexpr ACHAR kKafSurfaceStatisticsName[] = L"kaf-surfaceStatistics";
constexpr ACHAR kKafVolumeName[] = L"kaf-volume";
constexpr ACHAR kKafVolumeToDatumName[] = L"kaf-volumeToDatum";
constexpr ACHAR kKafCdtSubdmeshName[] = L"kaf-cdt-subdmesh";
constexpr ACHAR kKafCdtPfacemeshName[] = L"kaf-cdt-pfacemesh";
constexpr ACHAR kKafCdtSubdmeshWithLoadCsvName[] = L"kaf-cdt-subdmesh-withloadcsv";
constexpr ACHAR kKafCdtPfacemeshWithLoadCsvName[] = L"kaf-cdt-pfacemesh-withloadcsv";
constexpr ACHAR kKafProfileName[] = L"kaf-profile";
constexpr ACHAR kKafSectionsName[] = L"kaf-sections";
constexpr ACHAR kKafIsopachName[] = L"kaf-isopach";
constexpr ACHAR kKafThinSubdmeshWithLoadCsvName[] = L"kaf-thin-subdmesh-withloadcsv";

const LispFunctionEntry kTriangulate = Entry<RunTriangulate, kTriangulateName>();
const LispFunctionEntry kKafDct = Entry<RunKafDct, kKafDctName>();
const LispFunctionEntry kKafDctPface = Entry<RunKafDctPface, kKafDctPfaceName>();
const LispFunctionEntry kKafDctPfacemesh = Entry<RunKafDctPfacemesh, kKafDctPfacemeshName>();
const LispFunctionEntry kKafDctPfacemeshWithLoadCsv =
    Entry<RunKafDctPfacemeshWithLoadCsv, kKafDctPfacemeshWithLoadCsvName>();
const LispFunctionEntry kKafDctSubdmesh = Entry<RunKafDctSubdmesh, kKafDctSubdmeshName>();
const LispFunctionEntry kKafDctSubdmeshAa = Entry<RunKafDctSubdmeshAa, kKafDctSubdmeshAaName>();
const LispFunctionEntry kKafDctSubdmeshWithLoadCsv =
    Entry<RunKafDctSubdmeshWithLoadCsv, kKafDctSubdmeshWithLoadCsvName>();
const LispFunctionEntry kKafMergingCoplanarFacesOfSubMesh =
    Entry<RunKafMergingCoplanarFacesOfSubMesh, kKafMergingCoplanarFacesOfSubMeshName>();
const LispFunctionEntry kKafChangeMeshColor =
    Entry<RunKafChangeMeshColor, kKafChangeMeshColorName>();
const LispFunctionEntry kKafContours = Entry<RunKafContours, kKafContoursName>();
const LispFunctionEntry kKafSurfaceStatistics =
    Entry<RunKafSurfaceStatistics, kKafSurfaceStatisticsName>();
const LispFunctionEntry kKafVolume = Entry<RunKafVolume, kKafVolumeName>();
const LispFunctionEntry kKafVolumeToDatum = Entry<RunKafVolumeToDatum, kKafVolumeToDatumName>();
const LispFunctionEntry kKafCdtSubdmesh = Entry<RunKafCdtSubdmesh, kKafCdtSubdmeshName>();
const LispFunctionEntry kKafCdtPfacemesh = Entry<RunKafCdtPfacemesh, kKafCdtPfacemeshName>();
const LispFunctionEntry kKafCdtSubdmeshWithLoadCsv =
    Entry<RunKafCdtSubdmeshWithLoadCsv, kKafCdtSubdmeshWithLoadCsvName>();
const LispFunctionEntry kKafCdtPfacemeshWithLoadCsv =
    Entry<RunKafCdtPfacemeshWithLoadCsv, kKafCdtPfacemeshWithLoadCsvName>();
const LispFunctionEntry kKafProfile = Entry<RunKafProfile, kKafProfileName>();
const LispFunctionEntry kKafSections = Entry<RunKafSections, kKafSectionsName>();
const LispFunctionEntry kKafIsopach = Entry<RunKafIsopach, kKafIsopachName>();
const LispFunctionEntry kKafThinSubdmeshWithLoadCsv =
    Entry<RunKafThinSubdmeshWithLoadCsv, kKafThinSubdmeshWithLoadCsvName>();

}  // namespace

const LispFunctionEntry* const kLispFunctionTable[24] = {nullptr,
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
                                                         &kKafContours,
                                                         &kKafSurfaceStatistics,
                                                         &kKafVolume,
                                                         &kKafVolumeToDatum,
                                                         &kKafCdtSubdmesh,
                                                         &kKafCdtPfacemesh,
                                                         &kKafCdtSubdmeshWithLoadCsv,
                                                         &kKafCdtPfacemeshWithLoadCsv,
                                                         &kKafProfile,
                                                         &kKafSections,
                                                         &kKafIsopach,
                                                         &kKafThinSubdmeshWithLoadCsv,
                                                         nullptr};
