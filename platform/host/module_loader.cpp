// Loading and unloading modules, the message protocol, and the system registry with its
// dynamic linker.
#include <dlfcn.h>

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

std::string libraryError() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown error";
}

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

// The reactors that live in the module's own image.
std::vector<AcApDocManagerReactor*> reactorsInLibraryOf(const LoadedModule& module) {
    std::vector<AcApDocManagerReactor*> own;
    Dl_info entryInfo;
    if (dladdr(reinterpret_cast<void*>(module.entryPoint), &entryInfo) == 0) {
        return own;
    }
    for (AcApDocManagerReactor* reactor : hostImpl().reactors) {
        Dl_info info;
        if (dladdr(reactor, &info) != 0 && info.dli_fbase == entryInfo.dli_fbase) {
            own.push_back(reactor);
        }
    }
    return own;
}

// Whether the library is still mapped after dlclose (a library may stay, for example one with
// unique symbols).
bool isStillMapped(const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr) {
        return false;
    }
    dlclose(library);
    return true;
}

}  // namespace

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

bool Host::loadModule(const std::string& path, std::string& error) {
    dlerror();
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        error = "cannot load '" + path + "': " + libraryError();
        return false;
    }
    void* entry = dlsym(library, "acrxEntryPoint");
    void* version = dlsym(library, "acrxGetApiVersion");
    if (entry == nullptr || version == nullptr) {
        error = "'" + path + "' does not export " +
                (entry == nullptr ? "acrxEntryPoint" : "acrxGetApiVersion");
        dlclose(library);
        return false;
    }
    const int apiVersion = reinterpret_cast<ApiVersionFn>(version)();
    if (apiVersion != kAcRxApiVersion) {
        error = "'" + path + "' was built for API version " + std::to_string(apiVersion) +
                ", the host requires " + std::to_string(kAcRxApiVersion);
        dlclose(library);
        return false;
    }
    auto module = std::make_unique<LoadedModule>();
    module->path = path;
    module->library = library;
    module->entryPoint = reinterpret_cast<EntryPointFn>(entry);
    LoadedModule& loaded = *module;
    const int initialised = sendToModule(loaded, AcRx::kInitAppMsg, &loaded, nullptr);
    if (initialised != AcRx::kRetOK) {
        error = "'" + path + "' refused to initialise (result " + std::to_string(initialised) + ")";
        dlclose(library);
        return false;
    }
    impl_->modules.push_back(std::move(module));
    for (const auto& document : impl_->documents) {
        sendToModule(loaded, AcRx::kLoadDwgMsg, document.get(), document.get());
    }
    return true;
}

void Host::unloadModule() {
    while (!impl_->modules.empty()) {
        LoadedModule& module = *impl_->modules.back();
        for (const auto& document : impl_->documents) {
            sendToModule(module, AcRx::kUnloadDwgMsg, document.get(), document.get());
        }
        sendToModule(module, AcRx::kUnloadAppMsg, &module, nullptr);
        forgetFunctionsOf(&module);
        const std::vector<AcApDocManagerReactor*> ownReactors = reactorsInLibraryOf(module);
        const std::string path = module.path;
        dlclose(module.library);
        impl_->modules.pop_back();
        // Reactors of a module that is gone must not be told anything any more.
        if (!isStillMapped(path)) {
            for (AcApDocManagerReactor* reactor : ownReactors) {
                impl_->documentManager.removeReactor(reactor);
            }
        }
    }
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
