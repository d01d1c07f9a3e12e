// Host::Impl: all state of the stand-in host, shared by the host API functions (what a module
// calls) and by Host's own interface. Reached with hostImpl().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "kafhost/host.h"
#include "platform/db/database.h"

namespace kafhost {
struct LoadedModule;
}

// A document: a name, a drawing, and the AutoLISP functions defined in it.
class AcApDocument {
public:
    struct Function {
        int code;
        kafhost::LoadedModule* module;
    };
    using EntryKey = std::pair<kafhost::LoadedModule*, int>;

    std::wstring name;
    std::unique_ptr<kafhost::Database> database;
    std::map<std::wstring, Function> functions;
    std::map<EntryKey, int (*)()> entries;
};

namespace kafhost {

// The module's exports, called through the types they are declared with.
using EntryPointFn = decltype(&acrxEntryPoint);
using ApiVersionFn = decltype(&acrxGetApiVersion);

struct LoadedModule {
    std::string path;
    void* library = nullptr;
    EntryPointFn entryPoint = nullptr;
};

// One AutoLISP call in progress.
struct CallFrame {
    enum class ResultKind { kNone, kList, kT, kNil };
    int code = -1;
    Chain args;
    ResultKind resultKind = ResultKind::kNone;
    Chain result;
};

class DocumentManager : public AcApDocManager {
public:
    void addReactor(AcApDocManagerReactor* reactor) override;
    void removeReactor(AcApDocManagerReactor* reactor) override;
    AcApDocument* curDocument() const override;
};

class HostServices : public AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const override;
};

// A window of the stand-in's window tree. Windows are known by their handles, which are numbers
// never given twice (HWND is opaque to the module): a handle of a window that is gone names no
// window, whatever was made since. A window's children are a list linked through the handles
// (first and last child, previous and next sibling), so that each step of a walk is one lookup:
// the module walks to the status bar's progress control on every update of its meter. The class
// name is one of the tree builder's literals. Aligned to 64 bytes, a power of two, so that the
// place of a handle's window is found with shifts.
struct alignas(64) Window {
    std::wstring_view className;
    HWND parent = nullptr;
    HWND firstChild = nullptr;
    HWND lastChild = nullptr;
    HWND previous = nullptr;
    HWND next = nullptr;
};

class HostWinApp : public CWinApp {
public:
    CWnd* GetMainWnd() override;
    BOOL PumpMessage() override;
    CWnd mainWnd;
};

}  // namespace kafhost

struct kafhost::Host::Impl {
    // Documents.
    std::vector<std::unique_ptr<AcApDocument>> documents;
    AcApDocument* current = nullptr;
    int documentsMade = 0;
    DocumentManager documentManager;
    bool documentManagerShutDown = false;
    std::vector<AcApDocManagerReactor*> reactors;
    HostServices services;

    // Modules.
    std::vector<std::unique_ptr<LoadedModule>> modules;
    LoadedModule* activeModule = nullptr;  // the module being messaged or called
    LinkerEntry linkerEntry = LinkerEntry::kLinker;
    std::vector<LinkerRequest> linkerRequests;
    int classHierarchyBuilds = 0;

    // AutoLISP calls in progress (innermost last).
    std::vector<CallFrame> frames;

    // Command line.
    std::wstring commandLine;
    std::function<void(const std::wstring&)> printSink;

    // Objects.
    std::vector<AcDbObject*> openObjects;
    std::vector<AcDbObject*> orphans;
    std::unordered_set<std::wstring> names;
    std::unordered_set<const AcDbDatabase*> liveDatabases;

    // Fault injection.
    struct Fault {
        int countdown = 0;  // 0: not armed
        Acad::ErrorStatus status = Acad::eOk;
    };
    std::array<Fault, static_cast<std::size_t>(HostCall::kCount)> faults{};
    std::array<std::size_t, static_cast<std::size_t>(HostCall::kCount)> callCounts{};

    // Windows, status bar and messages.
    // The windows of the current tree, in the order made: the window numbered firstWindow + i
    // (handle number << 4) is windows[i]. Earlier numbers belong to trees that are gone.
    std::vector<Window> windows;
    std::uintptr_t firstWindow = 1;
    std::uintptr_t windowsMade = 0;
    HWND mainWindow = nullptr;
    HWND statusBar = nullptr;
    HWND progressControl = nullptr;
    HostWinApp winApp;
    MeterState meter;
    std::vector<MeterEvent> meterEvents;
    std::function<void(const MeterEvent&)> meterSink;
    std::vector<AcedFilterWinMsgFn> filters;
    int filterRegistrations = 0;
    int filterRemovals = 0;
    std::deque<MSG> queue;
    std::vector<DispatchedMessage> dispatched;
    bool quitting = false;
    std::vector<int> quitRequests;
    std::vector<MessageBoxRecord> messageBoxes;
    bool echoMessageBoxes = true;
    std::function<void(const MessageBoxRecord&)> messageBoxSink;

    // Called once the instance exists: the first document and the window tree.
    void start();
};

namespace kafhost {

extern Host::Impl* theImpl;

inline Host::Impl& hostImpl() {
    if (theImpl == nullptr) {
        Host::instance();
    }
    return *theImpl;
}

// Counts a call of the kind and tells whether fault injection makes this one fail (with the
// status to give).
bool injectFault(HostCall call, Acad::ErrorStatus& status);
bool injectFault(HostCall call);

// Appends text to the command line and hands it to the sink.
void printToCommandLine(const std::wstring& text);
// Deletes the orphans (objects closed while not in a drawing).
void deleteOrphans();
// Forgets every object of the lists of open objects and orphans (used when a drawing goes).
void forgetObjectLists();

// A fresh drawing, registered as live.
std::unique_ptr<Database> makeDatabase();
// Unregisters and deletes a drawing.
void destroyDatabase(std::unique_ptr<Database>& database);

// Sends a message to a module with a document current for its duration; gives the result.
int sendToModule(LoadedModule& module, int code, void* packet, AcApDocument* document);
// Removes the functions the module left defined (or registered) in any document.
void forgetFunctionsOf(const LoadedModule* module);
void notifyReactors(void (AcApDocManagerReactor::*notification)(AcApDocument*),
                    AcApDocument* document);

// Removes every window and builds the tree anew.
void buildWindowTree(StatusBarLayout layout);
// Takes one message from the queue, offers it to the filters and counts it as dispatched.
void dispatchOneMessage();

}  // namespace kafhost
