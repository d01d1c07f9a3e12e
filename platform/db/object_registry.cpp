// The host's lists of open objects and orphans, the open rules, and interned names.
#include "platform/db/object_state.h"
#include "platform/host/impl.h"

namespace kafhost {
namespace {

void addToList(std::vector<AcDbObject*>& list, AcDbObject& object, std::int32_t& slot) {
    slot = static_cast<std::int32_t>(list.size());
    list.push_back(&object);
}

void removeFromList(std::vector<AcDbObject*>& list, std::int32_t& slot,
                    std::int32_t ObjectState::*slotOf) {
    AcDbObject* last = list.back();
    list[static_cast<std::size_t>(slot)] = last;
    stateOf(*last).*slotOf = slot;
    list.pop_back();
    slot = -1;
}

}  // namespace

void addOpenObject(AcDbObject& object) {
    addToList(hostImpl().openObjects, object, stateOf(object).openSlot);
}

void removeOpenObject(AcDbObject& object) {
    removeFromList(hostImpl().openObjects, stateOf(object).openSlot, &ObjectState::openSlot);
}

void addOrphan(AcDbObject& object) {
    ObjectState& state = stateOf(object);
    if (state.orphanSlot < 0) {
        addToList(hostImpl().orphans, object, state.orphanSlot);
    }
}

void removeOrphan(AcDbObject& object) {
    ObjectState& state = stateOf(object);
    if (state.orphanSlot >= 0) {
        removeFromList(hostImpl().orphans, state.orphanSlot, &ObjectState::orphanSlot);
    }
}

void deleteOrphans() {
    std::vector<AcDbObject*>& orphans = hostImpl().orphans;
    while (!orphans.empty()) {
        delete orphans.back();  // the destructor takes it off the list
    }
}

void forgetObjectLists() {
    Host::Impl& impl = hostImpl();
    for (AcDbObject* object : impl.openObjects) {
        stateOf(*object).openSlot = -1;
    }
    for (AcDbObject* object : impl.orphans) {
        stateOf(*object).orphanSlot = -1;
    }
    impl.openObjects.clear();
    impl.orphans.clear();
}

Acad::ErrorStatus openObject(AcDbObject& object, AcDb::OpenMode mode, bool openErased) {
    constexpr std::uint16_t kMaxReaders = 256;
    ObjectState& state = stateOf(object);
    if (state.erased && !openErased) {
        return Acad::eWasErased;
    }
    if (state.writer) {
        return Acad::eWasOpenedForWrite;
    }
    if (mode == AcDb::kForWrite) {
        if (state.readers > 0) {
            return Acad::eWasOpenedForRead;
        }
        state.writer = true;
    } else {
        if (state.readers >= kMaxReaders) {
            return Acad::eAtMaxReaders;
        }
        ++state.readers;
    }
    syncOpenRegistration(object);
    return Acad::eOk;
}

const wchar_t* internName(const std::wstring& name) {
    return hostImpl().names.insert(name).first->c_str();
}

const wchar_t* defaultLayerName() {
    static const wchar_t* const name = internName(L"0");
    return name;
}

std::size_t Host::openObjectCount() const {
    return impl_->openObjects.size();
}

std::vector<std::wstring> Host::openObjectDescriptions() const {
    std::vector<std::wstring> descriptions;
    for (const AcDbObject* object : impl_->openObjects) {
        const ObjectState& state = stateOf(*object);
        std::wstring text = object->isA()->name();
        if (state.where == Residence::kNew) {
            text += L" (new)";
        } else {
            text += L" " + handleText(state.handle);
            text += state.writer ? L" (write)" : L" (read)";
        }
        descriptions.push_back(text);
    }
    return descriptions;
}

}  // namespace kafhost
