// kaf-cdt-subdmesh-withloadcsv: (kaf-cdt-subdmesh-withloadcsv files layout delimiter breaklines
// boundary holes maxEdgeLength layer [maxPoints [snapTolerance]]): kaf-cdt-subdmesh with the points
// read from survey point files (ReadSurveyPointFiles).
#include "functions/run_constrained_mesh_function.h"
#include "functions/workers.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

int RunKafCdtSubdmeshWithLoadCsv(const resbuf* args) {
    static const ConstrainedMeshFunction kFunction = {
        {L"cdt_subdmesh_withloadcsv",
         L"The maximum size of points in a subdmesh has to be an integer!",
         L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!",
         3000000},
        {CreateSubDMesh, CreateSplittedSubDMesh},
        true,
    };
    return RunConstrainedMeshFunction(args, kFunction);
}
