// Loading and unloading modules through the system's loader of libraries (dynamic_library.h).
#include "platform/host/dynamic_library.h"
#include "platform/host/impl.h"

namespace kafhost {
namespace {

// The reactors that live in the module's own image.
std::vector<AcApDocManagerReactor*> reactorsInLibraryOf(const LoadedModule& module) {
    std::vector<AcApDocManagerReactor*> own;
    const void* base = libraryBaseOf(reinterpret_cast<const void*>(module.entryPoint));
    if (base == nullptr) {
        return own;
    }
    for (AcApDocManagerReactor* reactor : hostImpl().reactors) {
        if (libraryBaseOf(reactor) == base) {
            own.push_back(reactor);
        }
    }
    return own;
}

}  // namespace

bool Host::loadModule(const std::string& path, std::string& error) {
    std::string systemError;
    void* library = loadLibrary(path, systemError);
    if (library == nullptr) {
        error = "cannot load '" + path + "': " + systemError;
        return false;
    }
    void* entry = librarySymbol(library, "acrxEntryPoint");
    void* version = librarySymbol(library, "acrxGetApiVersion");
    if (entry == nullptr || version == nullptr) {
        error = "'" + path + "' does not export " +
                (entry == nullptr ? "acrxEntryPoint" : "acrxGetApiVersion");
        freeLibrary(library);
        return false;
    }
    const int apiVersion = reinterpret_cast<ApiVersionFn>(version)();
    if (apiVersion != kAcRxApiVersion) {
        error = "'" + path + "' was built for API version " + std::to_string(apiVersion) +
                ", the host requires " + std::to_string(kAcRxApiVersion);
        freeLibrary(library);
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
        freeLibrary(library);
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
        freeLibrary(module.library);
        impl_->modules.pop_back();
        // Reactors of a module that is gone must not be told anything any more.
        if (!isLibraryLoaded(path)) {
            for (AcApDocManagerReactor* reactor : ownReactors) {
                impl_->documentManager.removeReactor(reactor);
            }
        }
    }
}

}  // namespace kafhost
