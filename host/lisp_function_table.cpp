#include "host/lisp_function_table.h"

#include "functions/workers.h"
#include "host/run_worker_guarded.h"

namespace {

// The entry the host calls: hands the call's arguments to the worker, which no exception leaves.
template <int (*Worker)(const resbuf*), const ACHAR* Name, GeometryFailureResult OnFailure>
int CallWorker() {
    return RunWorkerGuarded(Worker, acedGetArgs(), Name, OnFailure);
}

constexpr std::uint32_t kNoNameResource = 0xFFFFFFFF;

template <int (*Worker)(const resbuf*), const ACHAR* Name,
          GeometryFailureResult OnFailure = GeometryFailureResult::kNil>
constexpr LispFunctionEntry Entry() {
    return LispFunctionEntry{Name, &CallWorker<Worker, Name, OnFailure>, true, kNoNameResource};
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
constexpr ACHAR kKafSurfaceFacesName[] = L"kaf-surfaceFaces";
constexpr ACHAR kKafCdtPfaceName[] = L"kaf-cdt-pface";
constexpr ACHAR kKafCdtPfaceWithLoadCsvName[] = L"kaf-cdt-pface-withloadcsv";
constexpr ACHAR kKafContourLabelsName[] = L"kaf-contourLabels";
constexpr ACHAR kKafSpotLevelsName[] = L"kaf-spotLevels";

const LispFunctionEntry kTriangulate = Entry<RunTriangulate, kTriangulateName>();
const LispFunctionEntry kKafDct = Entry<RunKafDct, kKafDctName>();
const LispFunctionEntry kKafDctPface = Entry<RunKafDctPface, kKafDctPfaceName>();
const LispFunctionEntry kKafDctPfacemesh =
    Entry<RunKafDctPfacemesh, kKafDctPfacemeshName, GeometryFailureResult::kNilWithoutArguments>();
const LispFunctionEntry kKafDctPfacemeshWithLoadCsv =
    Entry<RunKafDctPfacemeshWithLoadCsv, kKafDctPfacemeshWithLoadCsvName,
          GeometryFailureResult::kNoResult>();
const LispFunctionEntry kKafDctSubdmesh =
    Entry<RunKafDctSubdmesh, kKafDctSubdmeshName, GeometryFailureResult::kNilWithoutArguments>();
const LispFunctionEntry kKafDctSubdmeshAa =
    Entry<RunKafDctSubdmeshAa, kKafDctSubdmeshAaName, GeometryFailureResult::kNoResult>();
const LispFunctionEntry kKafDctSubdmeshWithLoadCsv =
    Entry<RunKafDctSubdmeshWithLoadCsv, kKafDctSubdmeshWithLoadCsvName,
          GeometryFailureResult::kNoResult>();
const LispFunctionEntry kKafMergingCoplanarFacesOfSubMesh =
    Entry<RunKafMergingCoplanarFacesOfSubMesh, kKafMergingCoplanarFacesOfSubMeshName>();
const LispFunctionEntry kKafChangeMeshColor =
    Entry<RunKafChangeMeshColor, kKafChangeMeshColorName>();
const LispFunctionEntry kKafContours = Entry<RunKafContours, kKafContoursName>();
const LispFunctionEntry kKafSurfaceStatistics =
    Entry<RunKafSurfaceStatistics, kKafSurfaceStatisticsName>();
const LispFunctionEntry kKafVolume = Entry<RunKafVolume, kKafVolumeName>();
const LispFunctionEntry kKafVolumeToDatum = Entry<RunKafVolumeToDatum, kKafVolumeToDatumName>();
const LispFunctionEntry kKafCdtSubdmesh =
    Entry<RunKafCdtSubdmesh, kKafCdtSubdmeshName, GeometryFailureResult::kNoResult>();
const LispFunctionEntry kKafCdtPfacemesh =
    Entry<RunKafCdtPfacemesh, kKafCdtPfacemeshName, GeometryFailureResult::kNoResult>();
const LispFunctionEntry kKafCdtSubdmeshWithLoadCsv =
    Entry<RunKafCdtSubdmeshWithLoadCsv, kKafCdtSubdmeshWithLoadCsvName,
          GeometryFailureResult::kNoResult>();
const LispFunctionEntry kKafCdtPfacemeshWithLoadCsv =
    Entry<RunKafCdtPfacemeshWithLoadCsv, kKafCdtPfacemeshWithLoadCsvName,
          GeometryFailureResult::kNoResult>();
const LispFunctionEntry kKafProfile = Entry<RunKafProfile, kKafProfileName>();
const LispFunctionEntry kKafSections = Entry<RunKafSections, kKafSectionsName>();
const LispFunctionEntry kKafIsopach = Entry<RunKafIsopach, kKafIsopachName>();

const LispFunctionEntry kKafSurfaceFaces = Entry<RunKafSurfaceFaces, kKafSurfaceFacesName>();
const LispFunctionEntry kKafCdtPface = Entry<RunKafCdtPface, kKafCdtPfaceName>();
const LispFunctionEntry kKafCdtPfaceWithLoadCsv =
    Entry<RunKafCdtPfaceWithLoadCsv, kKafCdtPfaceWithLoadCsvName>();
const LispFunctionEntry kKafContourLabels = Entry<RunKafContourLabels, kKafContourLabelsName>();
const LispFunctionEntry kKafSpotLevels = Entry<RunKafSpotLevels, kKafSpotLevelsName>();

}  // namespace

const LispFunctionEntry* const kLispFunctionTable[28] = {nullptr,
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
                                                         &kKafSurfaceFaces,
                                                         &kKafCdtPface,
                                                         &kKafCdtPfaceWithLoadCsv,
                                                         &kKafContourLabels,
                                                         &kKafSpotLevels,
                                                         nullptr};
