#include "input/read_contour_lines.h"

#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/entity_lookup.h"
#include "output/close_on_exit.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Reading lines ...";

// Whether a segment of the polyline is an arc (the last vertex's bulge counts when closed).
bool IsCurved(const AcDbPolyline& line) {
    const unsigned int count = line.numVerts();
    for (unsigned int i = 0; i < count; ++i) {
        double bulge = 0.0;
        line.getBulgeAt(i, bulge);
        if (bulge != 0.0 && (i + 1 < count || line.isClosed())) {
            return true;
        }
    }
    return false;
}

ContourPolyline Describe(const AcDbPolyline& line, const std::wstring& handle) {
    ContourPolyline contour;
    contour.handle = handle;
    contour.layer = line.layer();
    contour.elevation = line.elevation();
    contour.closed = line.isClosed();
    for (unsigned int i = 0; i < line.numVerts(); ++i) {
        AcGePoint2d point;
        line.getPointAt(i, point);
        contour.points.push_back(geom::PlanPoint{point.x, point.y});
    }
    return contour;
}

}  // namespace

bool ReadContourLines(const std::vector<std::wstring>& handles, const wchar_t* label,
                      std::vector<ContourPolyline>& lines) {
    ProgressMeterState meter;
    StartProgressMeter(meter, kMeterLabel, static_cast<double>(handles.size()));
    const EndProgressMeterOnExit endMeter;
    lines.reserve(handles.size());
    for (std::size_t i = 0; i < handles.size(); ++i) {
        AcDbEntity* entity = nullptr;
        GetEntity(entity, handles[i].c_str());
        const CloseOnExit close(entity);
        const AcDbPolyline* line = entity != nullptr && entity->isKindOf(AcDbPolyline::desc())
                                       ? static_cast<const AcDbPolyline*>(entity)
                                       : nullptr;
        if (line == nullptr || IsCurved(*line)) {
            const std::wstring text =
                line == nullptr ? L"Object " + handles[i] + L" is not a polyline!"
                                : L"Object " + handles[i] +
                                      L" has curved segments; contour lines must be straight!";
            ReportFunctionError(label, text.c_str());
            return false;
        }
        lines.push_back(Describe(*line, handles[i]));
        UpdateProgressMeter(meter, kMeterLabel, static_cast<double>(i + 1));
        PumpMessagesThrottled();
    }
    return true;
}
