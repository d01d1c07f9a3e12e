// PendingEntities(count): the entities one writer appends to the drawing, held open for write,
// so that a writer writes all of its entities or none. Add(entity) takes an appended entity;
// room for count of them is taken at once, so that adding never fails. When the object goes the
// entities are closed; unless Keep() was called they are erased first, so that a run that fails
// leaves none of them in the drawing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "arxapi.h"

class PendingEntities {
public:
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
