// AcDbPolyFaceMesh with its sub-entities AcDbPolyFaceMeshVertex and AcDbFaceRecord.
//
// A sub-entity object lives only while it is open: appended (open for write until closed) or
// opened by its id. Its last close writes its data into the mesh's storage and deletes it, so
// that a mesh of millions of vertices keeps one point per vertex and no objects.
#include "platform/db/database.h"
#include "platform/db/object_state.h"
#include "platform/db/polyface_storage.h"
#include "platform/host/impl.h"

using namespace kafhost;

void AcDbPolyFaceMesh::Storage::addHandle(bool faceRecord, std::uint32_t index,
                                          std::uint64_t handle) {
    if (!runs.empty()) {
        Run& last = runs.back();
        if (last.faceRecords == faceRecord && last.first + last.count == handle &&
            last.start + last.count == index) {
            ++last.count;
            return;
        }
    }
    runs.push_back(Run{handle, index, 1, faceRecord});
}

std::uint64_t AcDbPolyFaceMesh::Storage::handleOf(bool faceRecord, std::uint32_t index) const {
    for (const Run& run : runs) {
        if (run.faceRecords == faceRecord && index >= run.start && index - run.start < run.count) {
            return run.first + (index - run.start);
        }
    }
    return 0;
}

bool AcDbPolyFaceMesh::Storage::find(std::uint64_t handle, bool& faceRecord,
                                     std::uint32_t& index) const {
    for (const Run& run : runs) {
        if (handle >= run.first && handle - run.first < run.count) {
            faceRecord = run.faceRecords;
            index = run.start + static_cast<std::uint32_t>(handle - run.first);
            return true;
        }
    }
    return false;
}

AcDbObject* AcDbPolyFaceMesh::Storage::openChild(std::uint64_t handle) const {
    for (AcDbObject* child : openChildren) {
        if (stateOf(*child).handle == handle) {
            return child;
        }
    }
    return nullptr;
}

void AcDbPolyFaceMesh::Storage::removeOpenChild(AcDbObject* child) {
    for (std::size_t i = openChildren.size(); i-- > 0;) {
        if (openChildren[i] == child) {
            openChildren.erase(openChildren.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

namespace kafhost {

void foldSubentity(AcDbObject& subentity) {
    ObjectState& state = stateOf(subentity);
    if (state.mesh == nullptr) {
        return;
    }
    AcDbPolyFaceMesh::Storage& storage = kafhostObjectAccess::storage(*state.mesh);
    if (state.isFaceRecord) {
        const Adesk::Int16* numbers =
            kafhostObjectAccess::faceRecordNumbers(static_cast<AcDbFaceRecord&>(subentity));
        for (int i = 0; i < 4; ++i) {
            storage.faces[state.index][static_cast<std::size_t>(i)] = numbers[i];
        }
    } else {
        storage.vertices[state.index] =
            kafhostObjectAccess::vertexPosition(static_cast<AcDbPolyFaceMeshVertex&>(subentity));
    }
    storage.removeOpenChild(&subentity);
    state.mesh = nullptr;
}

namespace {

// Makes child a sub-entity of mesh at index, open for write; it gets its handle now when the
// mesh is in a drawing, else when the mesh is appended.
void attachSubentity(AcDbPolyFaceMesh& mesh, AcDbObject& child, bool faceRecord,
                     std::uint32_t index) {
    AcDbPolyFaceMesh::Storage& storage = kafhostObjectAccess::storage(mesh);
    const ObjectState& meshState = stateOf(mesh);
    ObjectState& state = stateOf(child);
    removeOrphan(child);
    state.where = Residence::kSubentity;
    state.mesh = &mesh;
    state.index = index;
    state.isFaceRecord = faceRecord;
    state.writer = true;
    state.readers = 0;
    state.layer = meshState.layer;
    if (meshState.where == Residence::kResident && meshState.db != nullptr) {
        state.handle = meshState.db->allocateHandle();
        state.db = meshState.db;
        state.owner = meshState.handle;
        storage.addHandle(faceRecord, index, state.handle);
        meshState.db->noteSubentityHandle(mesh, state.handle);
    }
    storage.openChildren.push_back(&child);
    syncOpenRegistration(child);
}

bool canBeAppended(const AcDbObject& child) {
    const Residence where = stateOf(child).where;
    return where == Residence::kNew || where == Residence::kOrphan;
}

}  // namespace

// Opens the sub-entity with the handle, making its object from the storage when it is closed.
Acad::ErrorStatus openSubentity(Database& database, std::uint64_t handle, AcDb::OpenMode mode,
                                bool openErased, AcDbObject*& object) {
    bool faceRecord = false;
    std::uint32_t index = 0;
    AcDbPolyFaceMesh* mesh = database.subentityOwner(handle, faceRecord, index);
    if (mesh == nullptr) {
        return Acad::eUnknownHandle;
    }
    AcDbPolyFaceMesh::Storage& storage = kafhostObjectAccess::storage(*mesh);
    AcDbObject* child = storage.openChild(handle);
    if (child == nullptr) {
        if (faceRecord) {
            const auto& numbers = storage.faces[index];
            child = new AcDbFaceRecord(numbers[0], numbers[1], numbers[2], numbers[3]);
        } else {
            child = new AcDbPolyFaceMeshVertex(storage.vertices[index]);
        }
        ObjectState& state = stateOf(*child);
        const ObjectState& meshState = stateOf(*mesh);
        state.where = Residence::kSubentity;
        state.mesh = mesh;
        state.index = index;
        state.isFaceRecord = faceRecord;
        state.handle = handle;
        state.db = &database;
        state.owner = meshState.handle;
        state.layer = meshState.layer;
        storage.openChildren.push_back(child);
        syncOpenRegistration(*child);
    }
    const Acad::ErrorStatus status = openObject(*child, mode, openErased);
    if (status != Acad::eOk) {
        return status;
    }
    object = child;
    return Acad::eOk;
}

}  // namespace kafhost

AcDbPolyFaceMesh::AcDbPolyFaceMesh() : storage_(new Storage()) {}

AcDbPolyFaceMesh::~AcDbPolyFaceMesh() {
    for (AcDbObject* child : storage_->openChildren) {
        ObjectState& state = stateOf(*child);
        state.mesh = nullptr;
        state.where = Residence::kDestroying;
        delete child;
    }
    delete storage_;
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbPolyFaceMeshVertex* vertex) {
    if (vertex == nullptr) {
        return Acad::eNullEntityPointer;
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (!canBeAppended(*vertex)) {
        return Acad::eAlreadyInDb;
    }
    const auto index = static_cast<std::uint32_t>(storage_->vertices.size());
    storage_->vertices.push_back(kafhostObjectAccess::vertexPosition(*vertex));
    attachSubentity(*this, *vertex, false, index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbFaceRecord* face) {
    if (face == nullptr) {
        return Acad::eNullEntityPointer;
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (!canBeAppended(*face)) {
        return Acad::eAlreadyInDb;
    }
    const auto index = static_cast<std::uint32_t>(storage_->faces.size());
    const Adesk::Int16* numbers = kafhostObjectAccess::faceRecordNumbers(*face);
    storage_->faces.push_back({numbers[0], numbers[1], numbers[2], numbers[3]});
    attachSubentity(*this, *face, true, index);
    return Acad::eOk;
}

// The host keeps the counts in 16 bits: 32768 vertices read as -32768.
Adesk::Int16 AcDbPolyFaceMesh::numVertices() const {
    return static_cast<Adesk::Int16>(static_cast<Adesk::UInt16>(storage_->vertices.size()));
}

Adesk::Int16 AcDbPolyFaceMesh::numFaces() const {
    return static_cast<Adesk::Int16>(static_cast<Adesk::UInt16>(storage_->faces.size()));
}

AcDbObjectIterator* AcDbPolyFaceMesh::vertexIterator() const {
    auto* iterator = new AcDbObjectIterator();
    const ObjectState& state = stateOf(*this);
    if (state.db == nullptr) {
        return iterator;
    }
    const std::size_t total = storage_->vertices.size() + storage_->faces.size();
    iterator->ids_ = new AcDbObjectId[total];
    for (std::size_t i = 0; i < total; ++i) {
        const bool faceRecord = i >= storage_->vertices.size();
        const auto index =
            static_cast<std::uint32_t>(faceRecord ? i - storage_->vertices.size() : i);
        const std::uint64_t handle = storage_->handleOf(faceRecord, index);
        if (handle != 0) {
            iterator->ids_[iterator->count_++] = AcDbObjectId(state.db, handle);
        }
    }
    return iterator;
}

AcDbObjectIterator::~AcDbObjectIterator() {
    delete[] ids_;
}

bool AcDbObjectIterator::done() const {
    return position_ < 0 || position_ >= count_;
}

void AcDbObjectIterator::step(bool backwards, bool /*skipDeleted: sub-entities are never erased*/) {
    if (!done()) {
        position_ += backwards ? -1 : 1;
    }
}

void AcDbObjectIterator::start(bool atEnd) {
    position_ = atEnd ? count_ - 1 : 0;
}

AcDbEntity* AcDbObjectIterator::entity() {
    return nullptr;
}

AcDbObjectId AcDbObjectIterator::objectId() {
    return done() ? AcDbObjectId::kNull : ids_[position_];
}

std::size_t AcDbPolyFaceMesh::vertexCount() const {
    return storage_->vertices.size();
}
std::size_t AcDbPolyFaceMesh::faceCount() const {
    return storage_->faces.size();
}

AcGePoint3d AcDbPolyFaceMesh::vertexPosition(std::size_t index) const {
    return storage_->vertices.at(index);
}

void AcDbPolyFaceMesh::faceVertices(std::size_t index, Adesk::Int16 (&numbers)[4]) const {
    const auto& face = storage_->faces.at(index);
    for (std::size_t i = 0; i < 4; ++i) {
        numbers[i] = face[i];
    }
}

AcDbVertex::AcDbVertex() = default;

AcDbPolyFaceMeshVertex::AcDbPolyFaceMeshVertex() = default;
AcDbPolyFaceMeshVertex::AcDbPolyFaceMeshVertex(const AcGePoint3d& position) : position_(position) {}

AcGePoint3d AcDbPolyFaceMeshVertex::position() const {
    return position_;
}

Acad::ErrorStatus AcDbPolyFaceMeshVertex::setPosition(const AcGePoint3d& position) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    position_ = position;
    return Acad::eOk;
}

AcDbFaceRecord::AcDbFaceRecord() = default;
AcDbFaceRecord::AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2,
                               Adesk::Int16 vtx3)
    : vertices_{vtx0, vtx1, vtx2, vtx3} {}

Acad::ErrorStatus AcDbFaceRecord::getVertexAt(Adesk::UInt16 faceIndex,
                                              Adesk::Int16& vertexNumber) const {
    if (faceIndex > 3) {
        return Acad::eInvalidIndex;
    }
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    vertexNumber = vertices_[faceIndex];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::setVertexAt(Adesk::UInt16 faceIndex, Adesk::Int16 vertexNumber) {
    if (faceIndex > 3) {
        return Acad::eInvalidIndex;
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    vertices_[faceIndex] = vertexNumber;
    return Acad::eOk;
}
