// kaf-cdt-pface: (kaf-cdt-pface points breaklines boundary holes maxEdgeLength layer
// [maxPoints [snapTolerance]]) triangulates the points with the lines (RunConstrainedMeshFunction)
// and writes one 3D face per triangle on the layer; gives their handles. maxPoints is read as for
// the other constrained functions and has no effect: each face is an entity of its own.
#include "functions/run_constrained_mesh_function.h"
#include "functions/workers.h"
#include "output/create_3d_faces.h"

int RunKafCdtPface(const resbuf* args) {
    static const ConstrainedMeshFunction kFunction = {
        {L"cdt_pface", L"The maximum size of points has to be an integer!",
         L"The maximum size of points has to be a number of 3 up to 32767!", 32767},
        {CreateTriangleFaces, CreateTriangleFacesSplit},
        false,
    };
    return RunConstrainedMeshFunction(args, kFunction);
}
