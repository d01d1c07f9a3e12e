// kaf-dct-subdmesh-withloadcsv: builds subdivision meshes from point files (RunWithLoadCsv), at
// most 3,000,000 vertices per mesh, and ends its output with "finished".
#include "functions/run_with_load_csv.h"
#include "functions/workers.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

int RunKafDctSubdmeshWithLoadCsv(const resbuf* args) {
    static const WithLoadCsvVariant kSubdivisionMesh = {
        L"dct_subdmesh",
        L"The maximum size of points in a subdmesh has to be an integer!",
        3000000,
        L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!",
        L"ready after %f seconds",
        true,
        {CreateSubDMesh, CreateSplittedSubDMesh},
    };
    return RunWithLoadCsv(args, kSubdivisionMesh);
}
