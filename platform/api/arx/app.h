// The application framework of a module: the application object that serves the host's messages
// and the AutoLISP function table it defines in every document.
//
// AcRxDbxApp: one virtual handler per message, in slot order (1 to 15, then 0), and the dispatch
// acrxEntryPoint(code, packet) that a module's exported acrxEntryPoint calls: codes 1 to 15 go to
// slots 1 to 15, code 0 to the last slot; any other code gives kRetOK and does nothing. Its
// initialise handler records the module's instance handle, unlocks the module and declares it
// MDI-aware with the host's dynamic linker, and calls RegisterServerComponents. Every other
// handler does nothing and gives kRetOK.
//
// AcRxArxApp: adds the AutoLISP function table, an array of entry pointers bounded by a null
// first and last slot (null slots inside are skipped). Document load defines each entry with
// acedDefun(name, code) and, when asked to, registers its thunk with acedRegFunc(thunk, code);
// document unload undefines them; invoke-function calls the thunk of the code acedGetFunCode
// gives. An entry's code is its position among the non-null entries, from 0.
//
// ACRX_MODULE_EXPORT marks the two functions a module exports, acrxEntryPoint and
// acrxGetApiVersion; AcRxModuleInstance() is the instance handle of the library it is called in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "arx/ads.h"
#include "arx/rx.h"
#include "arx/windows.h"

#if defined(_WIN32)
#define ACRX_MODULE_EXPORT __declspec(dllexport)
#else
#define ACRX_MODULE_EXPORT __attribute__((visibility("default")))
#endif

namespace kafhost_detail {
// One per loaded library: its address identifies the library.
inline char moduleMarker = 0;
}  // namespace kafhost_detail

// The instance handle of the library the caller belongs to.
inline HINSTANCE AcRxModuleInstance() {
    return reinterpret_cast<HINSTANCE>(&kafhost_detail::moduleMarker);
}

// One AutoLISP function of a module. With a null name, the name is the module's string resource
// nameResourceId.
struct LispFunctionEntry {
    const ACHAR* name;
    int (*thunk)();
    bool registerFunction;
    std::uint32_t nameResourceId;
};

class AcRxDbxApp {
public:
    AcRxDbxApp() = default;
    virtual ~AcRxDbxApp() = default;
    AcRxDbxApp(const AcRxDbxApp&) = delete;
    AcRxDbxApp& operator=(const AcRxDbxApp&) = delete;

    virtual AcRx::AppRetCode On_kInitAppMsg(void* appId) {
        moduleInstance = AcRxModuleInstance();
        if (unlocked) {
            if (const AcRxDynamicLinker* linker = DynamicLinker()) {
                linker->unlockApplication(appId);
            }
        }
        if (mdiAware) {
            if (const AcRxDynamicLinker* linker = DynamicLinker()) {
                linker->registerAppMDIAware(appId);
            }
        }
        RegisterServerComponents();
        return AcRx::kRetOK;
    }
    virtual AcRx::AppRetCode On_kUnloadAppMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kLoadDwgMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kUnloadDwgMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kInvkSubrMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kCfgMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kEndMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kQuitMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kSaveMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kDependencyMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kNoDependencyMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kPreQuitMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kInitDialogMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kEndDialogMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kNullMsg(void*) { return AcRx::kRetOK; }
    virtual void RegisterServerComponents() {}

    AcRx::AppRetCode acrxEntryPoint(int code, void* appId) {
        using Handler = AcRx::AppRetCode (AcRxDbxApp::*)(void*);
        static constexpr Handler kSlots[] = {
            &AcRxDbxApp::On_kInitAppMsg,      &AcRxDbxApp::On_kUnloadAppMsg,
            &AcRxDbxApp::On_kLoadDwgMsg,      &AcRxDbxApp::On_kUnloadDwgMsg,
            &AcRxDbxApp::On_kInvkSubrMsg,     &AcRxDbxApp::On_kCfgMsg,
            &AcRxDbxApp::On_kEndMsg,          &AcRxDbxApp::On_kQuitMsg,
            &AcRxDbxApp::On_kSaveMsg,         &AcRxDbxApp::On_kDependencyMsg,
            &AcRxDbxApp::On_kNoDependencyMsg, &AcRxDbxApp::On_kOleUnloadAppMsg,
            &AcRxDbxApp::On_kPreQuitMsg,      &AcRxDbxApp::On_kInitDialogMsg,
            &AcRxDbxApp::On_kEndDialogMsg,    &AcRxDbxApp::On_kNullMsg};
        constexpr int kSlotCount = static_cast<int>(sizeof kSlots / sizeof kSlots[0]);
        if (code < 0 || code >= kSlotCount) {
            return AcRx::kRetOK;
        }
        const int slot = code == 0 ? kSlotCount - 1 : code - 1;
        return (this->*kSlots[slot])(appId);
    }

protected:
    HINSTANCE moduleInstance = nullptr;
    bool unlocked = true;
    bool mdiAware = true;

private:
    // The host's dynamic linker, or null when the registry has none.
    static const AcRxDynamicLinker* DynamicLinker() {
        AcRxDictionary* registry = acrxSysRegistry();
        AcRxObject* entry = registry != nullptr ? registry->at(ACRX_DYNAMIC_LINKER) : nullptr;
        if (entry == nullptr || !entry->isA()->isDerivedFrom(AcRxDynamicLinker::desc())) {
            return nullptr;
        }
        return static_cast<const AcRxDynamicLinker*>(entry);
    }
};

class AcRxArxApp : public AcRxDbxApp {
public:
    template <std::size_t kSlots>
    explicit AcRxArxApp(const LispFunctionEntry* const (&functionTable)[kSlots])
        : functionTable_(functionTable), functionSlots_(kSlots) {}

    AcRx::AppRetCode On_kLoadDwgMsg(void* appId) override {
        AcRxDbxApp::On_kLoadDwgMsg(appId);
        ForEachLispFunction([this](const LispFunctionEntry& entry, int code) {
            ACHAR buffer[kNameBufferSize];
            acedDefun(LispFunctionName(entry, buffer), code);
            if (entry.registerFunction) {
                acedRegFunc(entry.thunk, code);
            }
            return false;
        });
        return AcRx::kRetOK;
    }

    AcRx::AppRetCode On_kUnloadDwgMsg(void* appId) override {
        AcRxDbxApp::On_kUnloadDwgMsg(appId);
        ForEachLispFunction([this](const LispFunctionEntry& entry, int code) {
            ACHAR buffer[kNameBufferSize];
            acedUndef(LispFunctionName(entry, buffer), code);
            return false;
        });
        return AcRx::kRetOK;
    }

    AcRx::AppRetCode On_kInvkSubrMsg(void* appId) override {
        AcRxDbxApp::On_kInvkSubrMsg(appId);
        const int invoked = acedGetFunCode();
        ForEachLispFunction([invoked](const LispFunctionEntry& entry, int code) {
            if (code != invoked) {
                return false;
            }
            entry.thunk();
            return true;
        });
        return AcRx::kRetOK;
    }

private:
    static constexpr int kNameBufferSize = 132;

    // Calls visit(entry, code) for the entries between the bounding null slots, in order, until
    // visit gives true.
    template <typename Visit>
    void ForEachLispFunction(Visit visit) const {
        int code = 0;
        for (std::size_t slot = 1; slot + 1 < functionSlots_; ++slot) {
            const LispFunctionEntry* entry = functionTable_[slot];
            if (entry == nullptr) {
                continue;
            }
            if (visit(*entry, code)) {
                return;
            }
            ++code;
        }
    }

    const ACHAR* LispFunctionName(const LispFunctionEntry& entry,
                                  ACHAR (&buffer)[kNameBufferSize]) const {
        if (entry.name != nullptr) {
            return entry.name;
        }
        buffer[0] = L'\0';
        LoadStringW(moduleInstance, entry.nameResourceId, buffer, kNameBufferSize);
        return buffer;
    }

    const LispFunctionEntry* const* functionTable_;
    std::size_t functionSlots_;
};
