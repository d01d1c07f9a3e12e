// kafhost::Database: a drawing in memory.
#include "platform/db/database.h"

#include <cwctype>
#include <stdexcept>

#include "platform/db/object_state.h"
#include "platform/db/polyface_storage.h"
#include "platform/host/impl.h"

namespace kafhost {
namespace {

// The block table and block records are made by the drawing only.
class BlockTable : public AcDbBlockTable {};
class BlockTableRecord : public AcDbBlockTableRecord {};

}  // namespace

bool sameNameIgnoringCase(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == L'\0' || std::towupper(a[i]) != std::towupper(b[i])) {
            return false;
        }
    }
    return b[i] == L'\0';
}

Database::Database() {
    blockTable_ = new BlockTable();
    addFixedObject(*blockTable_, kBlockTableHandle, 0);
    blocks_.reserve(2);
    const wchar_t* names[] = {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE};
    for (std::uint64_t i = 0; i < 2; ++i) {
        Block block;
        block.name = names[i];
        block.record = new BlockTableRecord();
        addFixedObject(*block.record, kBlockTableHandle + 1 + i, kBlockTableHandle);
        blocks_.push_back(block);
    }
    addLayer(LayerInfo{L"0", false});
}

Database::~Database() {
    for (auto& entry : objects_) {
        AcDbObject* object = entry.second;
        stateOf(*object).where = Residence::kDestroying;
        delete object;
    }
}

void Database::addFixedObject(AcDbObject& object, std::uint64_t handle, std::uint64_t owner) {
    ObjectState& state = stateOf(object);
    state.db = this;
    state.handle = handle;
    state.owner = owner;
    state.where = Residence::kResident;
    syncOpenRegistration(object);
    objects_[handle] = &object;
}

Acad::ErrorStatus Database::getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode) {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kGetSymbolTable, status)) {
        return status;
    }
    const Acad::ErrorStatus opened = openObject(*blockTable_, mode, false);
    if (opened != Acad::eOk) {
        return opened;
    }
    table = blockTable_;
    return Acad::eOk;
}

Acad::ErrorStatus Database::getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                            const AcDbHandle& handle, Adesk::UInt32) {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kGetAcDbObjectId, status)) {
        return status;
    }
    if (handle.isNull()) {
        return Acad::eUnknownHandle;
    }
    if (!createIfNotFound && !handleInUse(handle.value())) {
        return Acad::eUnknownHandle;
    }
    id = AcDbObjectId(this, handle.value());
    return Acad::eOk;
}

HandlesExhausted::HandlesExhausted()
    : std::runtime_error(
          "the drawing has no handle left to give (kafcad gives handles up to FFFFFFFF00000000)") {}

std::uint64_t Database::allocateHandle() {
    if (nextHandle_ > kLargestHandle) {
        throw HandlesExhausted();
    }
    return nextHandle_++;
}

void Database::reserveHandle(std::uint64_t handle) {
    if (handle >= nextHandle_ && handle <= kLargestHandle) {
        nextHandle_ = handle + 1;
    }
}

bool Database::handleInUse(std::uint64_t handle) const {
    bool faceRecord;
    std::uint32_t index;
    return object(handle) != nullptr || subentityOwner(handle, faceRecord, index) != nullptr;
}

AcDbObject* Database::object(std::uint64_t handle) const {
    const auto found = objects_.find(handle);
    return found == objects_.end() ? nullptr : found->second;
}

AcDbPolyFaceMesh* Database::subentityOwner(std::uint64_t handle, bool& faceRecord,
                                           std::uint32_t& index) const {
    // Runs never overlap, so only the run starting last at or below the handle can hold it.
    auto run = subentityRuns_.upper_bound(handle);
    if (run == subentityRuns_.begin()) {
        return nullptr;
    }
    --run;
    return kafhostObjectAccess::storage(*run->second).find(handle, faceRecord, index) ? run->second
                                                                                      : nullptr;
}

void Database::noteSubentityHandle(AcDbPolyFaceMesh& mesh, std::uint64_t handle) {
    const AcDbPolyFaceMesh::Storage& storage = kafhostObjectAccess::storage(mesh);
    if (!storage.runs.empty() && storage.runs.back().first == handle) {
        subentityRuns_[handle] = &mesh;
    }
}

Database::Block* Database::blockOf(const AcDbBlockTableRecord* record) {
    for (Block& block : blocks_) {
        if (block.record == record) {
            return &block;
        }
    }
    return nullptr;
}

Database::Block* Database::findBlock(const wchar_t* name) {
    for (Block& block : blocks_) {
        if (sameNameIgnoringCase(block.name, name)) {
            return &block;
        }
    }
    return nullptr;
}

void Database::addEntity(Block& block, AcDbEntity& entity, std::uint64_t handle) {
    ObjectState& state = stateOf(entity);
    if (handle == 0) {
        handle = allocateHandle();
    }
    reserveHandle(handle);
    removeOrphan(entity);
    state.db = this;
    state.handle = handle;
    state.owner = stateOf(*block.record).handle;
    state.where = Residence::kResident;
    state.writer = true;
    state.readers = 0;
    state.index = static_cast<std::uint32_t>(block.entities.size());
    syncOpenRegistration(entity);
    objects_[handle] = &entity;
    block.entities.push_back(&entity);

    if (entity.isA() == AcDbPolyFaceMesh::desc()) {
        AcDbPolyFaceMesh& mesh = static_cast<AcDbPolyFaceMesh&>(entity);
        AcDbPolyFaceMesh::Storage& storage = kafhostObjectAccess::storage(mesh);
        for (int kind = 0; kind < 2; ++kind) {
            const bool faceRecords = kind == 1;
            const std::size_t count = faceRecords ? storage.faces.size() : storage.vertices.size();
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint64_t subentity = allocateHandle();
                storage.addHandle(faceRecords, static_cast<std::uint32_t>(i), subentity);
                noteSubentityHandle(mesh, subentity);
            }
        }
        for (AcDbObject* child : storage.openChildren) {
            ObjectState& childState = stateOf(*child);
            for (const auto& run : storage.runs) {
                if (run.faceRecords == childState.isFaceRecord && childState.index >= run.start &&
                    childState.index < run.start + run.count) {
                    childState.handle = run.first + (childState.index - run.start);
                }
            }
            childState.db = this;
            childState.owner = handle;
        }
    }
}

void Database::forget(AcDbObject& object) {
    ObjectState& state = stateOf(object);
    objects_.erase(state.handle);
    for (Block& block : blocks_) {
        if (state.index < block.entities.size() && block.entities[state.index] == &object) {
            block.entities[state.index] = nullptr;
        }
    }
    if (object.isA() == AcDbPolyFaceMesh::desc()) {
        for (const auto& run :
             kafhostObjectAccess::storage(static_cast<AcDbPolyFaceMesh&>(object)).runs) {
            subentityRuns_.erase(run.first);
        }
    }
}

namespace {

std::wstring upperCaseName(const std::wstring& name) {
    std::wstring upper = name;
    for (wchar_t& c : upper) {
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    return upper;
}

}  // namespace

void Database::addLayer(const LayerInfo& layer) {
    layerIndex_.emplace(upperCaseName(layer.name), layers_.size());
    layers_.push_back(layer);
}

const LayerInfo* Database::findLayer(const std::wstring& name) const {
    const auto found = layerIndex_.find(upperCaseName(name));
    return found == layerIndex_.end() ? nullptr : &layers_[found->second];
}

Database* liveDatabase(const AcDbDatabase* database) {
    if (database == nullptr || hostImpl().liveDatabases.count(database) == 0) {
        return nullptr;
    }
    return static_cast<Database*>(const_cast<AcDbDatabase*>(database));
}

std::unique_ptr<Database> makeDatabase() {
    auto database = std::make_unique<Database>();
    hostImpl().liveDatabases.insert(database.get());
    return database;
}

void destroyDatabase(std::unique_ptr<Database>& database) {
    if (database == nullptr) {
        return;
    }
    hostImpl().liveDatabases.erase(database.get());
    database.reset();
}

}  // namespace kafhost
