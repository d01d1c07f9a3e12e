// The stand-in host's own interface, for kafcad and for tests: documents and their drawings,
// loading a module, calling AutoLISP functions, the command line, the status bar and window
// messages, message boxes, creating and inspecting entities, and fault injection.
//
// Host::instance() is the one host of the process; it starts with one document "Drawing1" whose
// drawing has layer "0" and the blocks "*Model_Space" and "*Paper_Space". Everything runs on one
// thread. The host API of arxapi.h (what a module calls) works on the same instance.
//
// Inputs come as plain values (names, LispValue arguments, EntityInfo, DrawingSnapshot); outputs
// are plain values too (CallResult, snapshots, recorded events). Nothing here hands out an open
// database object.
#pragma once

// Module code is built against the host API alone (arxapi.h), as it is against the real host.
#ifdef KAF_MODULE_CODE
#error "kafhost/host.h is the stand-in host's control interface, not for module code"
#endif

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "arxapi.h"
#include "kafhost/drawing_snapshot.h"
#include "kafhost/lisp_value.h"

namespace kafhost {

// What one AutoLISP call gave.
struct CallResult {
    // False when no function of that name is defined in the current document (nothing ran).
    bool defined = false;
    // What the function's entry returned: RSRSLT or RSERR for an entry registered with
    // acedRegFunc, the module's acrxEntryPoint result for one reached through kInvkSubrMsg.
    // RTERROR when the function is not defined.
    int status = RTERROR;
    // True when the function set its result (acedRetList, acedRetT, acedRetNil).
    bool resultSet = false;
    // The result; nil when nothing was set.
    LispValue value;
    // False when the chain handed to acedRetList could not be read (see resultError).
    bool resultValid = true;
    std::wstring resultError;
    // The command-line text printed during the call.
    std::wstring printed;
    // True when an exception left the function's entry (the call then has status RTERROR);
    // exceptionText holds a thrown wide or narrow text, or the std::exception's what().
    bool exceptionEscaped = false;
    std::wstring exceptionText;
    // Objects of the drawing still open when the call returned (a fault when not 0), and their
    // descriptions as openObjectDescriptions() gives them.
    std::size_t openObjectsAfter = 0;
    std::vector<std::wstring> openObjectsAfterDescriptions;
};

// Host calls that fault injection can make fail.
enum class HostCall {
    kGetSymbolTable,           // AcDbDatabase::getSymbolTable: gives the status
    kBlockTableGetAt,          // AcDbBlockTable::getAt: gives the status
    kAppendAcDbEntity,         // AcDbBlockTableRecord::appendAcDbEntity: gives the status
    kSetLayer,                 // AcDbEntity::setLayer: gives the status
    kSetSubDMesh,              // AcDbSubDMesh::setSubDMesh: throws a const wchar_t* text
    kGetAcDbObjectId,          // AcDbDatabase::getAcDbObjectId: gives the status
    kNewIterator,              // AcDbBlockTableRecord::newIterator: gives the status
    kIteratorSeek,             // AcDbBlockTableRecordIterator::seek: gives the status
    kIteratorGetEntity,        // AcDbBlockTableRecordIterator::getEntity: gives the status
    kOpenAcDbObject,           // acdbOpenAcDbObject (and acdbOpenObject): gives the status
    kUpgradeOpen,              // AcDbObject::upgradeOpen: gives the status
    kSetVertexColorArray,      // AcDbSubDMesh::setVertexColorArray: gives the status
    kAcutNewRb,                // acutNewRb: gives null
    kRegisterFilterWinMsg,     // acedRegisterFilterWinMsg: gives false
    kRemoveFilterWinMsg,       // acedRemoveFilterWinMsg: gives false
    kSetStatusBarProgressPos,  // acedSetStatusBarProgressMeterPos: gives -1, as with no meter
    kCount
};

// The status bar's place among the main window's children.
enum class StatusBarLayout {
    kWithProgressControl,     // children: MDI client, tool bar, status bar (pane, progress)
    kWithoutProgressControl,  // as above, the status bar has its pane only
    kFirstChild,              // the status bar (with progress control) is the first child
    kNone                     // no status bar
};

// What the "DynamicLinker" entry of the system registry holds.
enum class LinkerEntry { kLinker, kMissing, kNotALinker };

struct LinkerRequest {
    enum class Kind { kUnlockApplication, kRegisterAppMDIAware };
    Kind kind;
    void* appId;
};

struct MeterEvent {
    enum class Kind { kShow, kPosition, kRestore };
    Kind kind;
    std::wstring label;  // kShow
    int minPos = 0;      // kShow
    int maxPos = 0;      // kShow
    int position = 0;    // kPosition: the position asked for
    int result = 0;      // what the call gave (kShow, kPosition)
};

struct MeterState {
    bool shown = false;
    std::wstring label;
    int minPos = 0;
    int maxPos = 0;
    int position = 0;
};

struct MessageBoxRecord {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT style;
};

struct DispatchedMessage {
    MSG message;
    bool swallowedByFilter;
};

class Host {
public:
    static Host& instance();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Fresh state for a test: the current document gets a fresh drawing (layer "0", both
    // blocks, first handles again), and the command line, faults and call counts, status-bar
    // meter and its log, filters, message queue and logs, message boxes, linker requests and the
    // window tree (kWithProgressControl) start over; the print, meter and message-box sinks are
    // removed. Documents, loaded modules and the message-box echo setting stay.
    void reset();
    // Only the current document's drawing starts over.
    void resetDrawing();

    // ---- Documents ----
    // A new document (named "DrawingN" when name is empty) with a fresh drawing; it becomes the
    // current one. Reactors hear documentCreated, then documentActivated; every loaded module
    // gets kLoadDwgMsg with the document current.
    AcApDocument* newDocument(const std::wstring& name = std::wstring());
    // Every loaded module gets kUnloadDwgMsg with the document current, then reactors hear
    // documentToBeDestroyed, then the document and its drawing go. The most recent other
    // document becomes current (none when it was the last). False for an unknown document.
    bool closeDocument(AcApDocument* document);
    // Makes the document current (reactors hear documentActivated). False when unknown.
    bool activateDocument(AcApDocument* document);
    AcApDocument* currentDocument() const;
    std::vector<AcApDocument*> documents() const;
    std::wstring documentName(const AcApDocument* document) const;
    AcDbDatabase* documentDatabase(const AcApDocument* document) const;
    // The current document's drawing (null with no document).
    AcDbDatabase* workingDatabase() const;
    // Document-manager reactors currently added.
    std::size_t reactorCount() const;
    // With true, acDocManagerPtr() gives null, as after the host shut its manager down.
    void setDocumentManagerShutDown(bool shutDown);

    // ---- Modules ----
    // Loads a module: dlopen, checks that it exports acrxEntryPoint and acrxGetApiVersion and
    // that the version is kAcRxApiVersion, sends kInitAppMsg (packet: the module's app id), then
    // kLoadDwgMsg for every open document (packet: the document; acedDefun and acedRegFunc go to
    // that document, which is current during the message). On failure gives false with the
    // reason in error and leaves nothing loaded; a module whose kInitAppMsg does not give kRetOK
    // is released without further messages.
    bool loadModule(const std::string& path, std::string& error);
    // Unloads every loaded module, the latest first: kUnloadDwgMsg for every open document,
    // kUnloadAppMsg, then dlclose.
    void unloadModule();
    std::vector<std::string> loadedModules() const;
    // The app id of the latest loaded module (null when none).
    void* moduleAppId() const;
    // Sends a message straight to the latest loaded module's acrxEntryPoint (any code, also
    // ones outside the protocol); acedDefun and the like go to the current document. Gives the
    // entry's result, or -1 when no module is loaded.
    int sendMessage(int code, void* packet);
    // The "DynamicLinker" entry of acrxSysRegistry, and what the linker was asked.
    void setLinkerEntry(LinkerEntry entry);
    const std::vector<LinkerRequest>& linkerRequests() const;
    // Times acrxBuildClassHierarchy was called.
    int classHierarchyBuilds() const;

    // ---- AutoLISP ----
    // Functions defined in the current document (names are case-sensitive).
    bool isDefined(const std::wstring& name) const;
    // The function code of a defined function, -1 when not defined.
    int functionCode(const std::wstring& name) const;
    std::vector<std::wstring> definedFunctions() const;
    // Calls a function of the current document with arguments (converted by valuesToChain) or
    // with an exact chain (copied; the caller keeps its own). During the call acedGetFunCode
    // gives the function's code and acedGetArgs the chain. A function registered with
    // acedRegFunc is called through that entry, any other one through kInvkSubrMsg to the module
    // that defined it.
    CallResult call(const std::wstring& name, const std::vector<LispValue>& args = {});
    CallResult callWithChain(const std::wstring& name, const resbuf* chain);

    // ---- Command line ----
    // Everything acutPrintf printed since the last clear.
    const std::wstring& commandLine() const;
    void clearCommandLine();
    // Also hands every printed text to sink as it is printed (null: none).
    void setPrintSink(std::function<void(const std::wstring&)> sink);

    // ---- Drawing ----
    // Adds a layer to the current drawing; false (nothing changed) when one of that name
    // (compared without regard to case) exists.
    bool addLayer(const std::wstring& name, bool hidden = false);
    // Sets the colour, true colour, linetype and lineweight of a layer of the current drawing
    // (LayerInfo); false when there is no such layer. The values are not checked here.
    bool styleLayer(const std::wstring& name, int colorIndex, std::int32_t trueColor,
                    const std::wstring& linetype, int lineweight);
    std::vector<LayerInfo> layers() const;

    // Adds an entity to the current drawing from its description (type, space, layer, geometry;
    // with a handle when it is given, else the next one; erased when asked). Gives the handle
    // text, or an empty text with the reason in error (unknown type or space, missing layer,
    // handle not hexadecimal or already in use, bad geometry). The entity ends closed.
    std::wstring addEntity(const EntityInfo& entity, std::wstring& error);
    // Shorthands of addEntity for tests; they throw std::runtime_error on failure.
    std::wstring addFace(const Point3& a, const Point3& b, const Point3& c, const Point3& d,
                         const std::wstring& layer = L"0", const std::wstring& space = L"model",
                         const std::wstring& handle = std::wstring());
    std::wstring addPolyFaceMesh(const std::vector<Point3>& vertices,
                                 const std::vector<std::vector<int>>& faceRecords,
                                 const std::wstring& layer = L"0",
                                 const std::wstring& space = L"model",
                                 const std::wstring& handle = std::wstring());
    std::wstring addSubDMesh(const std::vector<Point3>& vertices,
                             const std::vector<std::vector<int>>& faces,
                             const std::wstring& layer = L"0", const std::wstring& space = L"model",
                             const std::wstring& handle = std::wstring());
    std::wstring addPolyline(const std::vector<Point2>& points, double elevation, bool closed,
                             const std::wstring& layer = L"0", const std::wstring& space = L"model",
                             const std::wstring& handle = std::wstring());
    std::wstring add3dPolyline(const std::vector<Point3>& vertices, bool closed,
                               const std::wstring& layer = L"0",
                               const std::wstring& space = L"model",
                               const std::wstring& handle = std::wstring());
    // Erases the object with that handle text; false when there is none, it is erased already,
    // or it is open.
    bool eraseObject(const std::wstring& handle);

    // The current drawing as plain values.
    DrawingSnapshot snapshot() const;
    // The same for writing the drawing out at once (DXF, the picture): a subdivision mesh's faces
    // are read in place through faceList instead of being copied into faces, so the snapshot is
    // valid only while the drawing is unchanged.
    DrawingSnapshot outputSnapshot() const;
    // The handle texts of the current drawing's entities that are not erased, model space then
    // paper space, each in drawing order (the order of snapshot()).
    std::vector<std::wstring> entityHandles() const;
    // One entity of the current drawing by handle text; false when there is no such entity.
    bool entityInfo(const std::wstring& handle, EntityInfo& entity) const;
    // Replaces the current drawing by one built from the snapshot (handles kept; the next handle
    // continues above the highest one and at least at snapshot.nextHandle). On failure gives
    // false with the reason in error and leaves the drawing unchanged.
    bool loadSnapshot(const DrawingSnapshot& snapshot, std::wstring& error);

    // Objects that are open: database objects opened and not closed, and objects made with new
    // that were neither added to the drawing and closed, nor closed or deleted.
    std::size_t openObjectCount() const;
    // One text per open object: its class name and handle, e.g. "AcDbSubDMesh 2A (write)";
    // "AcDbSubDMesh (new)" for one not in a drawing.
    std::vector<std::wstring> openObjectDescriptions() const;

    // ---- Fault injection ----
    // Makes the given call fail once, at its occurrence-th call from now (1: the next one), with
    // the status (for calls that give one). One fault per call kind; a new one replaces it.
    void failCall(HostCall call, int occurrence = 1, Acad::ErrorStatus status = Acad::eOutOfMemory);
    void clearFaults();
    // How often the call was made since the last reset() (or clearFaults()).
    std::size_t callCount(HostCall call) const;

    // ---- Status bar and window messages ----
    // Rebuilds the main window's children (old handles stop being windows).
    void buildWindows(StatusBarLayout layout);
    // Windows that exist: the main window and its descendants.
    std::size_t windowCount() const;
    HWND mainWindow() const;
    HWND statusBar() const;        // null with kNone
    HWND progressControl() const;  // null without one
    MeterState meter() const;
    const std::vector<MeterEvent>& meterEvents() const;
    void clearMeterEvents();
    // Also hands every meter event to sink as it is logged (null: none).
    void setMeterSink(std::function<void(const MeterEvent&)> sink);
    // Filters currently registered, and how often registering and removing succeeded.
    std::size_t registeredFilterCount() const;
    int filterRegistrations() const;
    int filterRemovals() const;
    // Queues a message for a window (null: the main window).
    void postMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    std::size_t pendingMessageCount() const;
    // Messages taken off the queue by PumpMessage, with whether a filter swallowed them.
    const std::vector<DispatchedMessage>& dispatchedMessages() const;
    // With true, the application object's PumpMessage gives FALSE (the application must quit).
    void setQuitting(bool quitting);
    // Exit codes given to PostQuitMessage, in order.
    const std::vector<int>& quitRequests() const;
    // MessageBoxW calls, in order; each is also written to stderr as "<caption>: <text>" unless
    // echo is off.
    const std::vector<MessageBoxRecord>& messageBoxes() const;
    void clearMessageBoxes();
    void setMessageBoxEcho(bool echo);
    // Also hands every message box to sink as it is shown (null: none).
    void setMessageBoxSink(std::function<void(const MessageBoxRecord&)> sink);

    struct Impl;
    Impl& impl() { return *impl_; }
    const Impl& impl() const { return *impl_; }

private:
    Host();
    ~Host();
    std::unique_ptr<Impl> impl_;
};

// Handle values and their texts: upper-case hexadecimal without leading zeros; parseHandle gives
// 0 for text that is not 1 to 16 hexadecimal digits.
std::wstring handleText(std::uint64_t handle);
std::uint64_t parseHandle(const std::wstring& text);

}  // namespace kafhost
