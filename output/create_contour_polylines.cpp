#include "output/create_contour_polylines.h"

#include <iterator>
#include <memory>

#include "arxapi.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "output/close_on_exit.h"
#include "output/writer_steps.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Writing contours ...";

// The entities appended by one run, held open for write. When the object goes they are closed;
// unless Keep() was called, they are erased first, so that a run that fails leaves none of them
// in the drawing.
class PendingEntities {
public:
    // Room for every entity of the run is taken at once, so that adding one never fails.
    explicit PendingEntities(std::size_t count) { entities_.reserve(count); }
    ~PendingEntities() {
        for (AcDbEntity* entity : entities_) {
            if (!kept_) {
                // An entity appended and open for write by this run can always be erased.
                entity->erase();
            }
            entity->close();
        }
    }
    PendingEntities(const PendingEntities&) = delete;
    PendingEntities& operator=(const PendingEntities&) = delete;

    void Add(AcDbEntity* entity) { entities_.push_back(entity); }
    const std::vector<AcDbEntity*>& Entities() const { return entities_; }
    void Keep() { kept_ = true; }

private:
    std::vector<AcDbEntity*> entities_;
    bool kept_ = false;
};

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
    if (lines.empty()) {
        return RTNORM;
    }
    handles.reserve(handles.size() + lines.size());
    AcDbBlockTableRecord* modelSpace = OpenModelSpaceForWrite(
        L"CreateContourPolylines:getSymbolTable", L"CreateContourPolylines:getAt");
    if (modelSpace == nullptr) {
        return RTERROR;
    }
    const CloseOnExit closeModelSpace(modelSpace);
    ProgressMeterState meter;
    StartProgressMeter(meter, kMeterLabel, static_cast<double>(lines.size()));
    EndProgressMeterOnExit endMeter;

    PendingEntities written(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PumpMessagesThrottled();
        std::unique_ptr<AcDbPolyline> polyline =
            NewContourPolyline(lines[i], lines[i].major ? majorLayer : layer);
        if (polyline == nullptr) {
            return RTERROR;
        }
        AcDbObjectId id;
        const Acad::ErrorStatus status = modelSpace->appendAcDbEntity(id, polyline.get());
        if (status != Acad::eOk) {
            ReportStepError(L"CreateContourPolylines:appendAcDbEntity", status);
            return RTERROR;
        }
        written.Add(polyline.release());
        UpdateProgressMeter(meter, kMeterLabel, static_cast<double>(i + 1));
    }

    std::vector<std::wstring> texts;
    texts.reserve(lines.size());
    for (const AcDbEntity* entity : written.Entities()) {
        AppendHandleText(*entity, texts);
    }
    written.Keep();
    handles.insert(handles.end(), std::make_move_iterator(texts.begin()),
                   std::make_move_iterator(texts.end()));
    return RTNORM;
}
