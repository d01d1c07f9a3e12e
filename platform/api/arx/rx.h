// The module protocol: the messages the host sends through acrxEntryPoint, the system registry
// with the dynamic linker, and the document manager with its reactors.
#pragma once

#include "arx/ads.h"

namespace AcRx {
// The message codes. The underlying type is fixed so that a code the host does not know (a later
// host's, say) is still a value of the type.
enum AppMsgCode : int {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
    kSuspendMsg = 16
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// The API version the host requires a module's acrxGetApiVersion to give.
constexpr int kAcRxApiVersion = 20;

// The two entry points every module exports, unmangled.
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);
extern "C" int acrxGetApiVersion();

class AcRxClass;

// Root of the host's run-time classes.
class AcRxObject {
public:
    virtual ~AcRxObject();
    static AcRxClass* desc();
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* cls) const;
};

// A run-time class: a name and a parent.
class AcRxClass {
public:
    AcRxClass(const ACHAR* name, AcRxClass* parent);
    const ACHAR* name() const;
    AcRxClass* myParent() const;
    // True when this class is other or derives from it.
    bool isDerivedFrom(const AcRxClass* other) const;

private:
    const ACHAR* name_;
    AcRxClass* parent_;
};

// A dictionary of named objects.
class AcRxDictionary : public AcRxObject {
public:
    virtual AcRxObject* at(const ACHAR* key) const = 0;
};
// The host's system registry; its entry L"DynamicLinker" is the dynamic linker.
AcRxDictionary* acrxSysRegistry();
#define ACRX_DYNAMIC_LINKER L"DynamicLinker"

// Loads and unloads modules; the module identified by appId may allow its own unloading and
// declare that it works with several open documents.
class AcRxDynamicLinker : public AcRxObject {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    virtual bool unlockApplication(void* appId) const = 0;
    virtual bool registerAppMDIAware(void* appId) const = 0;
};

// Rebuilds the class hierarchy after new run-time classes were registered.
void acrxBuildClassHierarchy();

class AcApDocument;

// Receives document-manager notifications; every default does nothing.
class AcApDocManagerReactor : public AcRxObject {
public:
    virtual void documentCreated(AcApDocument*) {}
    virtual void documentToBeDestroyed(AcApDocument*) {}
    virtual void documentActivated(AcApDocument*) {}
};

class AcApDocManager {
public:
    virtual ~AcApDocManager() = default;
    virtual void addReactor(AcApDocManagerReactor* reactor) = 0;
    virtual void removeReactor(AcApDocManagerReactor* reactor) = 0;
    virtual AcApDocument* curDocument() const = 0;
};
// The document manager; null once the host has shut it down.
AcApDocManager* acDocManagerPtr();
