// kaf-cdt-pface-withloadcsv: (kaf-cdt-pface-withloadcsv files layout delimiter breaklines
// boundary holes maxEdgeLength layer [maxPoints [snapTolerance]]): kaf-cdt-pface with the points
// read from survey point files (ReadSurveyPointFiles).
#include "functions/run_constrained_mesh_function.h"
#include "functions/workers.h"
#include "output/create_3d_faces.h"

int RunKafCdtPfaceWithLoadCsv(const resbuf* args) {
    static const ConstrainedMeshFunction kFunction = {
        {L"cdt_pface_withloadcsv", L"The maximum size of points has to be an integer!",
         L"The maximum size of points has to be a number of 3 up to 32767!", 32767},
        {CreateTriangleFaces, CreateTriangleFacesSplit},
        true,
    };
    return RunConstrainedMeshFunction(args, kFunction);
}
