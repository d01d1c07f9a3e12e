#include "output/create_profile_polylines.h"

#include <memory>

#include "arxapi.h"
#include "output/append_all_or_none.h"
#include "output/writer_steps.h"

int CreateProfilePolylines(const std::vector<geom::ProfileRun>& runs, const wchar_t* layer,
                           std::vector<std::wstring>& handles) {
    std::vector<const geom::ProfileRun*> drawn;
    for (const geom::ProfileRun& run : runs) {
        if (run.points.size() >= 2) {
            drawn.push_back(&run);
        }
    }
    return AppendAllOrNone(
        drawn.size(), L"Writing profile ...", L"CreateProfilePolylines",
        [&](std::size_t i) -> std::unique_ptr<AcDbEntity> {
            AcGePoint3dArray vertices;
            for (const geom::ProfilePoint& p : drawn[i]->points) {
                vertices.append(AcGePoint3d(p.x, p.y, p.z));
            }
            auto polyline = std::make_unique<AcDb3dPolyline>(AcDb::k3dSimplePoly, vertices, false);
            polyline->setDatabaseDefaults();
            if (!SetLayerReported(*polyline, layer, L"CreateProfilePolylines:setLayer")) {
                return nullptr;
            }
            return polyline;
        },
        handles);
}
