// kaf-dct-pfacemesh: (kaf-dct-pfacemesh points layer [maxPoints]) triangulates the points and
// writes polyface meshes of at most maxPoints (3 ... 32767) vertices; gives their handles.
#include "functions/run_mesh_function.h"
#include "functions/workers.h"
#include "output/create_pface_mesh.h"
#include "output/create_splitted_pface_mesh.h"

int RunKafDctPfacemesh(const resbuf* args) {
    static const MeshFunction kPfacemesh = {
        {L"dct_pfacemesh", L"The maximum size of points in a polyfacemesh has to be an integer!",
         L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!",
         32767},
        {CreatePFaceMesh, CreateSplittedPFaceMesh}};
    return RunMeshFunction(args, kPfacemesh);
}
