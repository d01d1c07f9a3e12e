// AcDbObject: identity, open state, close, upgrade and downgrade, erase.
#include "platform/db/database.h"
#include "platform/db/object_state.h"
#include "platform/db/polyface_storage.h"
#include "platform/host/impl.h"

namespace kafhost {

// Writes a sub-entity's data into its mesh's storage; defined with the polyface mesh.
void foldSubentity(AcDbObject& subentity);

namespace {

// State records come from a free list: writers make millions of short-lived objects.
class StatePool {
public:
    ObjectState* acquire() {
        if (free_.empty()) {
            constexpr std::size_t kChunk = 4096;
            chunks_.emplace_back(new ObjectState[kChunk]);
            ObjectState* chunk = chunks_.back().get();
            for (std::size_t i = kChunk; i-- > 0;) {
                free_.push_back(&chunk[i]);
            }
        }
        ObjectState* state = free_.back();
        free_.pop_back();
        *state = ObjectState();
        return state;
    }
    void release(ObjectState* state) { free_.push_back(state); }

private:
    std::vector<std::unique_ptr<ObjectState[]>> chunks_;
    std::vector<ObjectState*> free_;
};

StatePool& statePool() {
    static StatePool* pool = new StatePool();  // lives as long as any object may
    return *pool;
}

}  // namespace
}  // namespace kafhost

using namespace kafhost;

AcDbObject::AcDbObject() : state_(statePool().acquire()) {
    state_->layer = defaultLayerName();
    syncOpenRegistration(*this);
}

AcDbObject::~AcDbObject() {
    ObjectState& state = *state_;
    if (state.where == Residence::kResident && state.db != nullptr) {
        state.db->forget(*this);
    }
    if (state.where == Residence::kSubentity && state.mesh != nullptr) {
        kafhostObjectAccess::storage(*state.mesh).removeOpenChild(this);
    }
    state.where = Residence::kDestroying;
    syncOpenRegistration(*this);
    removeOrphan(*this);
    statePool().release(state_);
}

AcDbObjectId AcDbObject::objectId() const {
    if (state_->db == nullptr) {
        return AcDbObjectId::kNull;
    }
    return AcDbObjectId(state_->db, state_->handle);
}

AcDbObjectId AcDbObject::ownerId() const {
    if (state_->db == nullptr || state_->owner == 0) {
        return AcDbObjectId::kNull;
    }
    return AcDbObjectId(state_->db, state_->owner);
}

AcDbDatabase* AcDbObject::database() const {
    return state_->db;
}

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const {
    handle = AcDbHandle(state_->handle);
}

Acad::ErrorStatus AcDbObject::close() {
    ObjectState& state = *state_;
    switch (state.where) {
        case Residence::kNew:
            state.where = Residence::kOrphan;
            syncOpenRegistration(*this);
            addOrphan(*this);
            return Acad::eOk;
        case Residence::kResident:
        case Residence::kSubentity:
            break;
        default:
            return Acad::eInvalidOpenState;
    }
    if (!state.writer && state.readers == 0) {
        return Acad::eInvalidOpenState;
    }
    const bool lastOpening = state.writer || state.readers == 1;
    if (state.where == Residence::kSubentity && lastOpening) {
        foldSubentity(*this);
        delete this;
        return Acad::eOk;
    }
    if (state.writer) {
        state.writer = false;
    } else {
        --state.readers;
    }
    syncOpenRegistration(*this);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kUpgradeOpen, status)) {
        return status;
    }
    ObjectState& state = *state_;
    if (state.where != Residence::kResident && state.where != Residence::kSubentity) {
        return Acad::eOk;
    }
    if (state.writer) {
        return Acad::eWasOpenedForWrite;
    }
    if (state.readers == 0) {
        return Acad::eNotOpenForRead;
    }
    if (state.readers > 1) {
        return Acad::eHadMultipleReaders;
    }
    state.readers = 0;
    state.writer = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    ObjectState& state = *state_;
    if (state.where != Residence::kResident && state.where != Residence::kSubentity) {
        return Acad::eOk;
    }
    if (!state.writer) {
        return Acad::eNotOpenForWrite;
    }
    state.writer = false;
    state.readers = 1;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    ObjectState& state = *state_;
    if (state.where == Residence::kSubentity) {
        return Acad::eNotApplicable;
    }
    if (state.where != Residence::kResident) {
        return Acad::eNotInDatabase;
    }
    if (!state.writer) {
        return Acad::eNotOpenForWrite;
    }
    if (erasing == state.erased) {
        return erasing ? Acad::eWasErased : Acad::eWasNotErased;
    }
    state.erased = erasing;
    return Acad::eOk;
}

bool AcDbObject::isErased() const {
    return state_->erased;
}
bool AcDbObject::isReadEnabled() const {
    return isReadable(*this);
}
bool AcDbObject::isWriteEnabled() const {
    return isWritable(*this);
}
