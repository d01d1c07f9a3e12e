// WriteAllOrNothing(count, meterLabel, steps, make, handles): appends count new entities to model
// space, all or none. make(i) gives the i-th entity (std::unique_ptr to a new entity, its layer
// set), or null after printing its own step line. A status-bar meter under meterLabel counts the
// entities, and window messages are pumped (throttled) between them. No entities: nothing is
// opened or written.
//
// The entities stay open (PendingEntities) until every one of them is in the drawing; only then
// are their handle texts appended to handles, in order. On a failure the entities appended so far
// are erased again, so that the drawing is left as it was, and RTERROR is given after a step line
// (steps.blockTable, steps.modelSpace or steps.append, or make's own). A thrown failure (memory)
// likewise leaves nothing behind. Gives RTNORM otherwise.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "arxapi.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "output/close_on_exit.h"
#include "output/pending_entities.h"
#include "output/writer_steps.h"

struct AllOrNothingSteps {
    const wchar_t* blockTable;
    const wchar_t* modelSpace;
    const wchar_t* append;
};

template <typename Make>
int WriteAllOrNothing(std::size_t count, const wchar_t* meterLabel, const AllOrNothingSteps& steps,
                      Make make, std::vector<std::wstring>& handles) {
    if (count == 0) {
        return RTNORM;
    }
    handles.reserve(handles.size() + count);
    AcDbBlockTableRecord* modelSpace = OpenModelSpaceForWrite(steps.blockTable, steps.modelSpace);
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
        auto entity = make(i);
        if (entity == nullptr) {
            return RTERROR;
        }
        AcDbObjectId id;
        const Acad::ErrorStatus status = modelSpace->appendAcDbEntity(id, entity.get());
        if (status != Acad::eOk) {
            ReportStepError(steps.append, status);
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
