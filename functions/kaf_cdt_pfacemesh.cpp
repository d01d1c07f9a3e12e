// kaf-cdt-pfacemesh: (kaf-cdt-pfacemesh points breaklines boundary holes maxEdgeLength layer
// [maxPoints [snapTolerance]]) triangulates the points with the lines (RunConstrainedMeshFunction)
// and writes polyface meshes of at most maxPoints (3 ... 32767) vertices; gives their handles.
#include "functions/run_constrained_mesh_function.h"
#include "functions/workers.h"
#include "output/create_pface_mesh.h"
#include "output/create_splitted_pface_mesh.h"

int RunKafCdtPfacemesh(const resbuf* args) {
    static const ConstrainedMeshFunction kFunction = {
        {L"cdt_pfacemesh", L"The maximum size of points in a polyfacemesh has to be an integer!",
         L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!",
         32767},
        {CreatePFaceMesh, CreateSplittedPFaceMesh},
        false,
    };
    return RunConstrainedMeshFunction(args, kFunction);
}
