// kaf-thin-subdmesh-withloadcsv: (kaf-thin-subdmesh-withloadcsv files layout delimiter tolerance
// layer [maxPoints]): subdivision meshes of the points of survey point files (text or LAS),
// thinned so that every point left out lies within the tolerance (vertically) of the surface.
#include "functions/run_constrained_mesh_function.h"
#include "functions/workers.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

int RunKafThinSubdmeshWithLoadCsv(const resbuf* args) {
    static const ConstrainedMeshFunction kFunction = {
        {L"thin_subdmesh_withloadcsv",
         L"The maximum size of points in a subdmesh has to be an integer!",
         L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!",
         3000000},
        {CreateSubDMesh, CreateSplittedSubDMesh},
        true,
        true,
    };
    return RunConstrainedMeshFunction(args, kFunction);
}
