// kaf-cdt-subdmesh: (kaf-cdt-subdmesh points breaklines boundary holes maxEdgeLength layer
// [maxPoints [snapTolerance]]) triangulates the points with the lines (RunConstrainedMeshFunction)
// and writes subdivision meshes of at most maxPoints (3 ... 3,000,000) vertices; gives their
// handles.
#include "functions/run_constrained_mesh_function.h"
#include "functions/workers.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

int RunKafCdtSubdmesh(const resbuf* args) {
    static const ConstrainedMeshFunction kFunction = {
        {L"cdt_subdmesh", L"The maximum size of points in a subdmesh has to be an integer!",
         L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!",
         3000000},
        {CreateSubDMesh, CreateSplittedSubDMesh},
        false,
    };
    return RunConstrainedMeshFunction(args, kFunction);
}
