// A minimal module for the loader's tests. It prints every message it gets on the command line
// as "[probe] <code> <packet>\n", asks the dynamic linker to unlock it and to register it as
// MDI-aware on initialisation, defines two AutoLISP functions per document ("probe-echo" with a
// registered entry that returns its arguments, and "probe-message", reached through the
// invoke-function message, that returns T), and keeps a document reactor from load to unload
// that prints "[probe] destroyed <document>\n".
//
// KAFHOST_PROBE_API_VERSION changes the version it reports; KAFHOST_PROBE_NO_VERSION leaves out
// acrxGetApiVersion; KAFHOST_PROBE_REFUSE_INIT makes it refuse initialisation;
// KAFHOST_PROBE_CARELESS makes it leave its functions defined and its reactor added.
#include "arxapi.h"

#ifndef KAFHOST_PROBE_API_VERSION
#define KAFHOST_PROBE_API_VERSION kAcRxApiVersion
#endif

namespace {

int Echo() {
    acedRetList(acedGetArgs());
    return RSRSLT;
}

class ProbeReactor : public AcApDocManagerReactor {
public:
    ProbeReactor() {
        if (AcApDocManager* manager = acDocManagerPtr()) {
            manager->addReactor(this);
        }
    }
    ~ProbeReactor() override {
#ifndef KAFHOST_PROBE_CARELESS
        if (AcApDocManager* manager = acDocManagerPtr()) {
            manager->removeReactor(this);
        }
#endif
    }
    void documentToBeDestroyed(AcApDocument* document) override {
        acutPrintf(L"[probe] destroyed %p\n", static_cast<void*>(document));
    }
};

ProbeReactor reactor;

[[maybe_unused]] void AskLinker(void* appId) {
    AcRxObject* entry = acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER);
    if (entry == nullptr || !entry->isA()->isDerivedFrom(AcRxDynamicLinker::desc())) {
        return;
    }
    const auto* linker = static_cast<const AcRxDynamicLinker*>(entry);
    linker->unlockApplication(appId);
    linker->registerAppMDIAware(appId);
}

}  // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    acutPrintf(L"[probe] %d %p\n", static_cast<int>(msg), appId);
    switch (msg) {
        case AcRx::kInitAppMsg:
#ifdef KAFHOST_PROBE_REFUSE_INIT
            return AcRx::kRetError;
#else
            AskLinker(appId);
            break;
#endif
        case AcRx::kLoadDwgMsg:
            acedDefun(L"probe-echo", 0);
            acedRegFunc(Echo, 0);
            acedDefun(L"probe-message", 1);
            break;
        case AcRx::kUnloadDwgMsg:
#ifndef KAFHOST_PROBE_CARELESS
            acedUndef(L"probe-echo", 0);
            acedUndef(L"probe-message", 1);
#endif
            break;
        case AcRx::kInvkSubrMsg:
            if (acedGetFunCode() == 1) {
                acedRetT();
            }
            return static_cast<AcRx::AppRetCode>(RSRSLT);
        default:
            break;
    }
    return AcRx::kRetOK;
}

#ifndef KAFHOST_PROBE_NO_VERSION
extern "C" int acrxGetApiVersion() {
    return KAFHOST_PROBE_API_VERSION;
}
#endif
