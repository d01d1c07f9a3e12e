// NewEntity<T>(constructor arguments...): a new drawing entity in the hands of the operation that
// makes it. AppendTo(modelSpace, step) adds it to model space (a failure is printed as a
// step-error line under step, unless step is null) and gives whether it is there. When the scope
// ends, an appended entity is closed (the drawing owns it) and one never appended is deleted (it is
// not in the drawing).
#pragma once

#include <utility>

#include "arxapi.h"
#include "host/error_lines.h"

template <typename T>
class NewEntity {
public:
    template <typename... Args>
    explicit NewEntity(Args&&... args) : entity_(new T(std::forward<Args>(args)...)) {}
    ~NewEntity() {
        if (appended_) {
            entity_->close();
        } else {
            delete entity_;
        }
    }
    NewEntity(const NewEntity&) = delete;
    NewEntity& operator=(const NewEntity&) = delete;

    T& operator*() const { return *entity_; }
    T* operator->() const { return entity_; }

    bool AppendTo(AcDbBlockTableRecord& modelSpace, const wchar_t* step) {
        AcDbObjectId id;
        const Acad::ErrorStatus status = modelSpace.appendAcDbEntity(id, entity_);
        if (status != Acad::eOk) {
            if (step != nullptr) {
                ReportStepError(step, status);
            }
            return false;
        }
        appended_ = true;
        return true;
    }

private:
    T* entity_;
    bool appended_ = false;
};
