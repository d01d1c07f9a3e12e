#include "output/create_contour_polylines.h"

#include <memory>

#include "arxapi.h"
#include "output/append_all_or_none.h"
#include "output/writer_steps.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Writing contours ...";

// A new polyline of the line, on its layer; null after the layer's step line.
std::unique_ptr<AcDbPolyline> NewContourPolyline(const geom::ContourLine& line,
                                                 const wchar_t* layer) {
    auto polyline = std::make_unique<AcDbPolyline>();
    polyline->setDatabaseDefaults();
    if (!SetLayerReported(*polyline, layer, L"CreateContourPolylines:setLayer")) {
        return nullptr;
    }
    unsigned int index = 0;
    for (const geom::PlanPoint& point : line.points) {
        polyline->addVertexAt(index++, AcGePoint2d(point.x, point.y));
    }
    polyline->setElevation(line.elevation);
    polyline->setClosed(line.closed);
    return polyline;
}

}  // namespace

int CreateContourPolylines(const std::vector<geom::ContourLine>& lines, const wchar_t* layer,
                           const wchar_t* majorLayer, std::vector<std::wstring>& handles) {
    return AppendAllOrNone(
        lines.size(), kMeterLabel, L"CreateContourPolylines",
        [&](std::size_t i) -> std::unique_ptr<AcDbEntity> {
            return NewContourPolyline(lines[i], lines[i].major ? majorLayer : layer);
        },
        handles);
}
