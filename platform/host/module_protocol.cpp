// The module protocol shared by every platform's loader: messages to a module with its document
// current, the functions a module leaves behind, and the system registry with its dynamic linker.
#include <iterator>

#include "platform/host/impl.h"

namespace kafhost {
namespace {

class DynamicLinker : public AcRxDynamicLinker {
public:
    bool unlockApplication(void* appId) const override {
        hostImpl().linkerRequests.push_back({LinkerRequest::Kind::kUnlockApplication, appId});
        return true;
    }
    bool registerAppMDIAware(void* appId) const override {
        hostImpl().linkerRequests.push_back({LinkerRequest::Kind::kRegisterAppMDIAware, appId});
        return true;
    }
};

// An object of the registry that is not a dynamic linker.
class PlainObject : public AcRxObject {};

class SystemRegistry : public AcRxDictionary {
public:
    AcRxObject* at(const ACHAR* key) const override {
        if (key == nullptr || std::wstring(key) != ACRX_DYNAMIC_LINKER) {
            return nullptr;
        }
        switch (hostImpl().linkerEntry) {
            case LinkerEntry::kLinker:
                return &linker_;
            case LinkerEntry::kNotALinker:
                return &plain_;
            default:
                return nullptr;
        }
    }

private:
    mutable DynamicLinker linker_;
    mutable PlainObject plain_;
};

}  // namespace

// Functions the module left defined (or registered) in any document.
void forgetFunctionsOf(const LoadedModule* module) {
    for (const auto& document : hostImpl().documents) {
        for (auto it = document->functions.begin(); it != document->functions.end();) {
            it = it->second.module == module ? document->functions.erase(it) : std::next(it);
        }
        for (auto it = document->entries.begin(); it != document->entries.end();) {
            it = it->first.first == module ? document->entries.erase(it) : std::next(it);
        }
    }
}

int sendToModule(LoadedModule& module, int code, void* packet, AcApDocument* document) {
    Host::Impl& impl = hostImpl();
    AcApDocument* const previousDocument = impl.current;
    LoadedModule* const previousModule = impl.activeModule;
    if (document != nullptr) {
        impl.current = document;
    }
    impl.activeModule = &module;
    const int result = module.entryPoint(static_cast<AcRx::AppMsgCode>(code), packet);
    impl.activeModule = previousModule;
    impl.current = previousDocument;
    return result;
}

std::vector<std::string> Host::loadedModules() const {
    std::vector<std::string> paths;
    for (const auto& module : impl_->modules) {
        paths.push_back(module->path);
    }
    return paths;
}

void* Host::moduleAppId() const {
    return impl_->modules.empty() ? nullptr : impl_->modules.back().get();
}

int Host::sendMessage(int code, void* packet) {
    if (impl_->modules.empty()) {
        return -1;
    }
    return sendToModule(*impl_->modules.back(), code, packet, nullptr);
}

void Host::setLinkerEntry(LinkerEntry entry) {
    impl_->linkerEntry = entry;
}

const std::vector<LinkerRequest>& Host::linkerRequests() const {
    return impl_->linkerRequests;
}

int Host::classHierarchyBuilds() const {
    return impl_->classHierarchyBuilds;
}

}  // namespace kafhost

AcRxDictionary* acrxSysRegistry() {
    static kafhost::SystemRegistry* registry = new kafhost::SystemRegistry();
    return registry;
}

void acrxBuildClassHierarchy() {
    ++kafhost::hostImpl().classHierarchyBuilds;
}
