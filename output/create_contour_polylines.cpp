#include "output/create_contour_polylines.h"

#include <memory>

#include "arxapi.h"
#include "output/write_all_or_nothing.h"

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
    static const AllOrNothingSteps kSteps = {L"CreateContourPolylines:getSymbolTable",
                                             L"CreateContourPolylines:getAt",
                                             L"CreateContourPolylines:appendAcDbEntity"};
    return WriteAllOrNothing(
        lines.size(), kMeterLabel, kSteps,
        [&](std::size_t i) {
            return NewContourPolyline(lines[i], lines[i].major ? majorLayer : layer);
        },
        handles);
}
