// AcDbEntity: the layer of an entity.
#include "platform/db/database.h"
#include "platform/db/object_state.h"
#include "platform/db/polyface_storage.h"
#include "platform/host/impl.h"

using namespace kafhost;

AcDbEntity::AcDbEntity() = default;

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* layerName, bool doSubents,
                                       bool allowHiddenLayer) {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kSetLayer, status)) {
        return status;
    }
    if (layerName == nullptr) {
        return Acad::eInvalidInput;
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    ObjectState& state = stateOf(*this);
    Database* database = state.db != nullptr
                             ? state.db
                             : liveDatabase(acdbHostApplicationServices()->workingDatabase());
    if (database == nullptr) {
        return Acad::eNoDatabase;
    }
    const LayerInfo* layer = database->findLayer(layerName);
    if (layer == nullptr || (layer->hidden && !allowHiddenLayer)) {
        return Acad::eKeyNotFound;
    }
    state.layer = internName(layer->name);
    if (doSubents && isA() == AcDbPolyFaceMesh::desc()) {
        const auto& mesh = static_cast<const AcDbPolyFaceMesh&>(*this);
        for (AcDbObject* child : kafhostObjectAccess::storage(mesh).openChildren) {
            stateOf(*child).layer = state.layer;
        }
    }
    return Acad::eOk;
}

const ACHAR* AcDbEntity::layer() const {
    return stateOf(*this).layer;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase*) {
    stateOf(*this).layer = defaultLayerName();
}
