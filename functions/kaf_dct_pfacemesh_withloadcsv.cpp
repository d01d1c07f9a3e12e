// kaf-dct-pfacemesh-withloadcsv: builds polyface meshes from point files (RunWithLoadCsv), at most
// 32767 vertices per mesh.
#include "functions/run_with_load_csv.h"
#include "functions/workers.h"
#include "output/create_pface_mesh.h"
#include "output/create_splitted_pface_mesh.h"

int RunKafDctPfacemeshWithLoadCsv(const resbuf* args) {
    static const WithLoadCsvVariant kPolyfaceMesh = {
        L"dct_pfacemesh",
        L"The maximum size of points in a polyfacemesh has to be an integer!",
        32767,
        L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!",
        L"ready after %f seconds\n",
        false,
        {CreatePFaceMesh, CreateSplittedPFaceMesh},
    };
    return RunWithLoadCsv(args, kPolyfaceMesh);
}
