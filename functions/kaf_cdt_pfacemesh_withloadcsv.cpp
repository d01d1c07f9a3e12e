// kaf-cdt-pfacemesh-withloadcsv: (kaf-cdt-pfacemesh-withloadcsv files layout delimiter
// breaklines boundary holes maxEdgeLength layer [maxPoints [snapTolerance]]): kaf-cdt-pfacemesh
// with the points read from survey point files (ReadSurveyPointFiles).
#include "functions/run_constrained_mesh_function.h"
#include "functions/workers.h"
#include "output/create_pface_mesh.h"
#include "output/create_splitted_pface_mesh.h"

int RunKafCdtPfacemeshWithLoadCsv(const resbuf* args) {
    static const ConstrainedMeshFunction kFunction = {
        {L"cdt_pfacemesh_withloadcsv",
         L"The maximum size of points in a polyfacemesh has to be an integer!",
         L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!",
         32767},
        {CreatePFaceMesh, CreateSplittedPFaceMesh},
        true,
    };
    return RunConstrainedMeshFunction(args, kFunction);
}
