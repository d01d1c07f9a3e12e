// The block table, its records (model space, paper space), appending entities, iterating a
// block, and opening objects by id.
#include "platform/db/database.h"
#include "platform/db/object_state.h"
#include "platform/host/impl.h"

namespace kafhost {

Acad::ErrorStatus openSubentity(Database& database, std::uint64_t handle, AcDb::OpenMode mode,
                                bool openErased, AcDbObject*& object);

namespace {

class BlockIterator : public AcDbBlockTableRecordIterator {
public:
    BlockIterator(Database& database, const AcDbBlockTableRecord& record, bool atBeginning,
                  bool skipDeleted)
        : database_(database), record_(record) {
        start(atBeginning, skipDeleted);
    }

    void start(bool atBeginning, bool skipDeleted) override {
        skipDeleted_ = skipDeleted;
        const std::size_t count = entities().size();
        position_ = atBeginning ? 0 : count - 1;
        if (atBeginning) {
            settle(true);
        } else if (count == 0) {
            position_ = kDone;
        } else {
            settle(false);
        }
    }

    bool done() const override { return position_ == kDone; }

    void step(bool forward, bool skipDeleted) override {
        if (done()) {
            return;
        }
        skipDeleted_ = skipDeleted;
        if (move(forward)) {
            settle(forward);
        }
    }

    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const override {
        if (done()) {
            return Acad::eInvalidInput;
        }
        id = entities()[position_]->objectId();
        return Acad::eOk;
    }

    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                bool openErasedEntity) const override {
        Acad::ErrorStatus status;
        if (injectFault(HostCall::kIteratorGetEntity, status)) {
            return status;
        }
        if (done()) {
            return Acad::eInvalidInput;
        }
        AcDbEntity* current = entities()[position_];
        status = openObject(*current, mode, openErasedEntity);
        if (status != Acad::eOk) {
            return status;
        }
        entity = current;
        return Acad::eOk;
    }

    Acad::ErrorStatus seek(AcDbObjectId id) override {
        Acad::ErrorStatus status;
        if (injectFault(HostCall::kIteratorSeek, status)) {
            return status;
        }
        if (id.database() != &database_ || liveDatabase(id.database()) == nullptr) {
            return Acad::eInvalidInput;
        }
        AcDbObject* object = database_.object(id.handle().value());
        if (object == nullptr) {
            return Acad::eInvalidInput;
        }
        const ObjectState& state = stateOf(*object);
        const auto& list = entities();
        if (state.index >= list.size() || list[state.index] != object ||
            (skipDeleted_ && state.erased)) {
            return Acad::eInvalidInput;
        }
        position_ = state.index;
        return Acad::eOk;
    }

private:
    static constexpr std::size_t kDone = static_cast<std::size_t>(-1);

    const std::vector<AcDbEntity*>& entities() const {
        static const std::vector<AcDbEntity*> none;
        const Database::Block* block = database_.blockOf(&record_);
        return block != nullptr ? block->entities : none;
    }

    bool visits(std::size_t i) const {
        const AcDbEntity* entity = entities()[i];
        return entity != nullptr && !(skipDeleted_ && entity->isErased());
    }

    // Moves one place in the direction; false when that leaves the block at its beginning.
    bool move(bool forward) {
        if (forward) {
            ++position_;
        } else if (position_ == 0) {
            position_ = kDone;
            return false;
        } else {
            --position_;
        }
        return true;
    }

    // Moves from the current position in the direction to the first entity it visits.
    void settle(bool forward) {
        const std::size_t count = entities().size();
        while (position_ < count && !visits(position_)) {
            if (!move(forward)) {
                return;
            }
        }
        if (position_ >= count) {
            position_ = kDone;
        }
    }

    Database& database_;
    const AcDbBlockTableRecord& record_;
    std::size_t position_ = kDone;
    bool skipDeleted_ = true;
};

}  // namespace
}  // namespace kafhost

using namespace kafhost;

const AcDbObjectId AcDbObjectId::kNull;

AcDbSymbolTableRecord::AcDbSymbolTableRecord() = default;

const ACHAR* AcDbSymbolTableRecord::getName() const {
    Database* database = liveDatabase(this->database());
    if (database != nullptr && isA() == AcDbBlockTableRecord::desc()) {
        const Database::Block* block =
            database->blockOf(static_cast<const AcDbBlockTableRecord*>(this));
        if (block != nullptr) {
            return block->name.c_str();
        }
    }
    return L"";
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kAppendAcDbEntity, status)) {
        return status;
    }
    if (entity == nullptr) {
        return Acad::eNullEntityPointer;
    }
    Database* database = liveDatabase(this->database());
    Database::Block* block = database != nullptr ? database->blockOf(this) : nullptr;
    if (block == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (!isWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    if (isErased()) {
        return Acad::eWasErased;
    }
    const Residence where = stateOf(*entity).where;
    if (where != Residence::kNew && where != Residence::kOrphan) {
        return Acad::eAlreadyInDb;
    }
    if (entity->isKindOf(AcDbVertex::desc())) {
        return Acad::eWrongObjectType;
    }
    database->addEntity(*block, *entity, 0);
    id = entity->objectId();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator,
                                                    bool atBeginning, bool skipDeleted) const {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kNewIterator, status)) {
        return status;
    }
    Database* database = liveDatabase(this->database());
    if (database == nullptr || database->blockOf(this) == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (!isReadEnabled()) {
        return Acad::eNotOpenForRead;
    }
    iterator = new BlockIterator(*database, *this, atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTable::getAt(const ACHAR* entryName, AcDbBlockTableRecord*& record,
                                        AcDb::OpenMode mode, bool openErasedRec) const {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kBlockTableGetAt, status)) {
        return status;
    }
    if (entryName == nullptr) {
        return Acad::eInvalidInput;
    }
    if (!isReadEnabled()) {
        return Acad::eNotOpenForRead;
    }
    Database* database = liveDatabase(this->database());
    Database::Block* block = database != nullptr ? database->findBlock(entryName) : nullptr;
    if (block == nullptr) {
        return Acad::eKeyNotFound;
    }
    status = openObject(*block->record, mode, openErasedRec);
    if (status != Acad::eOk) {
        return status;
    }
    record = block->record;
    return Acad::eOk;
}

bool AcDbBlockTable::has(const ACHAR* entryName) const {
    Database* database = liveDatabase(this->database());
    Database::Block* block =
        database != nullptr && entryName != nullptr ? database->findBlock(entryName) : nullptr;
    return block != nullptr && !block->record->isErased();
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kOpenAcDbObject, status)) {
        return status;
    }
    if (id.isNull()) {
        return Acad::eNullObjectId;
    }
    Database* database = liveDatabase(id.database());
    if (database == nullptr) {
        return Acad::eUnknownHandle;
    }
    const std::uint64_t handle = id.handle().value();
    AcDbObject* found = database->object(handle);
    if (found == nullptr) {
        return openSubentity(*database, handle, mode, openErased, object);
    }
    status = openObject(*found, mode, openErased);
    if (status != Acad::eOk) {
        return status;
    }
    object = found;
    return Acad::eOk;
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    AcDbObject* object = nullptr;
    const Acad::ErrorStatus status = acdbOpenAcDbObject(object, id, mode, openErased);
    if (status != Acad::eOk) {
        return status;
    }
    if (!object->isKindOf(AcDbEntity::desc())) {
        object->close();
        return Acad::eNotThatKindOfClass;
    }
    entity = static_cast<AcDbEntity*>(object);
    return Acad::eOk;
}
