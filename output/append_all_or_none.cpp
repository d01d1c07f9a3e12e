#include "output/append_all_or_none.h"

#include <iterator>

#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "output/close_on_exit.h"
#include "output/writer_steps.h"

namespace {

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

}  // namespace

int AppendAllOrNone(std::size_t count, const wchar_t* meterLabel, const std::wstring& stepPrefix,
                    const std::function<std::unique_ptr<AcDbEntity>(std::size_t)>& make,
                    std::vector<std::wstring>& handles) {
    if (count == 0) {
        return RTNORM;
    }
    handles.reserve(handles.size() + count);
    AcDbBlockTableRecord* modelSpace = OpenModelSpaceForWrite(
        (stepPrefix + L":getSymbolTable").c_str(), (stepPrefix + L":getAt").c_str());
    if (modelSpace == nullptr) {
        return RTERROR;
    }
    const CloseOnExit closeModelSpace(modelSpace);
    ProgressMeterState meter;
    StartProgressMeter(meter, meterLabel, static_cast<double>(count));
    EndProgressMeterOnExit endMeter;

    PendingEntities written(count);
    for (std::size_t i = 0; i < count; ++i) {
        PumpMessagesThrottled();
        std::unique_ptr<AcDbEntity> entity = make(i);
        if (entity == nullptr) {
            return RTERROR;
        }
        AcDbObjectId id;
        const Acad::ErrorStatus status = modelSpace->appendAcDbEntity(id, entity.get());
        if (status != Acad::eOk) {
            ReportStepError((stepPrefix + L":appendAcDbEntity").c_str(), status);
            return RTERROR;
        }
        written.Add(entity.release());
        UpdateProgressMeter(meter, meterLabel, static_cast<double>(i + 1));
    }

    std::vector<std::wstring> texts;
    texts.reserve(count);
    for (const AcDbEntity* entity : written.Entities()) {
        AppendHandleText(*entity, texts);
    }
    written.Keep();
    handles.insert(handles.end(), std::make_move_iterator(texts.begin()),
                   std::make_move_iterator(texts.end()));
    return RTNORM;
}
