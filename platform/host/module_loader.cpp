// Loading and unloading modules with the dynamic loader of POSIX systems (dlopen).
#include <dlfcn.h>

#include "platform/host/impl.h"

namespace kafhost {
namespace {

std::string libraryError() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown error";
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

}  // namespace kafhost
