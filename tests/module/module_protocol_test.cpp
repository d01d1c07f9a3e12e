// The module's entry as the host drives it: the load and unload protocol (the messages of
// acrxEntryPoint, the dynamic linker, the document reactor and the AutoLISP function table in each
// document); the invoke-function message of the application object, which the host sends for a
// function whose entry it does not call directly, and the per-document data manager's reactor;
// how a worker's unexpected failures end the function, and the triangulators' failure texts as the
// command line shows them. (The error lines themselves are checked through the calls that print
// them.)
#if defined(_WIN32)
#include "platform/host/dynamic_library.h"
#else
#include <dlfcn.h>
#endif

#include <climits>
#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "geom/kernel/geometry_error.h"
#include "host/clock.h"
#include "host/doc_data.h"
#include "host/doc_data_manager.h"
#include "host/error_lines.h"
#include "host/kaf20_app.h"
#include "host/run_worker_guarded.h"
#include "module_fixture.h"
#include "support/error_lines.h"
#include "support/function_names.h"

namespace {

using kafhost::LinkerEntry;
using kafhost::LinkerRequest;

class ModuleProtocolTest : public ModuleTest {
protected:
    void TearDown() override {
        host().setLinkerEntry(LinkerEntry::kLinker);
        EnsureModuleLoaded();
    }

    // Unloads the module and starts the host over, so that the next load is seen alone.
    static void UnloadAndReset() {
        host().unloadModule();
        host().reset();
    }

    static void Load() {
        std::string error;
        ASSERT_TRUE(host().loadModule(KAF_MODULE_PATH, error)) << error;
    }

    static void ExpectAllFunctionsDefinedWithTheirCodes() {
        EXPECT_EQ(host().definedFunctions().size(), std::size(kFunctionNames));
        for (int code = 0; code < static_cast<int>(std::size(kFunctionNames)); ++code) {
            EXPECT_EQ(host().functionCode(kFunctionNames[code]), code)
                << kafhost::wideToUtf8(kFunctionNames[code]);
        }
    }

    static void ExpectNoFunctionDefined() {
        EXPECT_TRUE(host().definedFunctions().empty());
        for (const wchar_t* name : kFunctionNames) {
            EXPECT_FALSE(host().isDefined(name)) << kafhost::wideToUtf8(name);
        }
    }

    // The dynamic linker was asked to unlock the application and to register it MDI aware.
    static void ExpectUnlockedAndMDIAware(const void* appId) {
        const std::vector<LinkerRequest>& requests = host().linkerRequests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0].kind, LinkerRequest::Kind::kUnlockApplication);
        EXPECT_EQ(requests[0].appId, appId);
        EXPECT_EQ(requests[1].kind, LinkerRequest::Kind::kRegisterAppMDIAware);
        EXPECT_EQ(requests[1].appId, appId);
    }

    // The message had no effect that the host can see.
    static void ExpectMessageWithoutEffect(int code) {
        const std::size_t reactors = host().reactorCount();
        EXPECT_EQ(host().sendMessage(code, host().currentDocument()), 0) << "code " << code;
        ExpectAllFunctionsDefinedWithTheirCodes();
        EXPECT_TRUE(host().linkerRequests().empty()) << "code " << code;
        EXPECT_EQ(host().reactorCount(), reactors) << "code " << code;
        EXPECT_EQ(host().commandLine(), L"") << "code " << code;
    }
};

// Loading defines every function under its code (names as given, no other case), unlocks the
// module, declares it MDI aware and adds the document reactor; unloading takes all of it back.
// Neither prints anything.
TEST_F(ModuleProtocolTest, LoadAndUnloadDefineAndUndefineTheFunctionsAndTheReactor) {
    UnloadAndReset();
    const std::size_t reactors = host().reactorCount();
    Load();
    EXPECT_EQ(host().commandLine(), L"");
    ExpectAllFunctionsDefinedWithTheirCodes();
    EXPECT_FALSE(host().isDefined(L"KAF-DCT"));
    EXPECT_FALSE(host().isDefined(L"kaf-mergingcoplanarfacesofsubmesh"));
    EXPECT_FALSE(host().isDefined(L"kaf-changemeshcolor"));
    ExpectUnlockedAndMDIAware(host().moduleAppId());
    EXPECT_EQ(host().classHierarchyBuilds(), 0);
    EXPECT_EQ(host().reactorCount(), reactors + 1);

    host().unloadModule();
    ExpectNoFunctionDefined();
    EXPECT_EQ(host().reactorCount(), reactors);
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(ModuleProtocolTest, InitialiseAsksForTheApplicationNamedByThePacket) {
    int packet = 0;
    EXPECT_EQ(host().sendMessage(AcRx::kInitAppMsg, &packet), 0);
    ExpectUnlockedAndMDIAware(&packet);
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(ModuleProtocolTest, MissingOrForeignDynamicLinkerIsSkipped) {
    for (LinkerEntry entry : {LinkerEntry::kMissing, LinkerEntry::kNotALinker}) {
        UnloadAndReset();
        host().setLinkerEntry(entry);
        Load();
        EXPECT_TRUE(host().linkerRequests().empty());
        ExpectAllFunctionsDefinedWithTheirCodes();
        EXPECT_EQ(host().commandLine(), L"");
    }
}

TEST_F(ModuleProtocolTest, DocumentUnloadUndefinesAndDocumentLoadDefinesAgain) {
    AcApDocument* document = host().currentDocument();
    EXPECT_EQ(host().sendMessage(AcRx::kUnloadDwgMsg, document), 0);
    ExpectNoFunctionDefined();
    EXPECT_FALSE(Call(L"kaf-dct", {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})}).defined);
    EXPECT_EQ(host().sendMessage(AcRx::kLoadDwgMsg, document), 0);
    ExpectAllFunctionsDefinedWithTheirCodes();
    EXPECT_TRUE(Call(L"kaf-dct", {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})}).defined);
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(ModuleProtocolTest, EveryOpenedDocumentGetsTheFunctionsAndClosingOneLeavesTheOthers) {
    AcApDocument* first = host().currentDocument();
    AcApDocument* second = host().newDocument();
    ASSERT_EQ(host().currentDocument(), second);
    ExpectAllFunctionsDefinedWithTheirCodes();
    ASSERT_TRUE(host().closeDocument(second));
    ASSERT_EQ(host().currentDocument(), first);
    ExpectAllFunctionsDefinedWithTheirCodes();
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(ModuleProtocolTest, FirstCallAfterLoadingLetsTheHostHandleItsWaitingMessagesAtOnce) {
    UnloadAndReset();
    Load();
    host().reset();
    host().postMessage(nullptr, WM_PAINT);
    const kafhost::CallResult result =
        Call(L"kaf-dct-subdmesh",
             {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), kafhost::LispValue::nil()});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(host().dispatchedMessages().size(), 1u);
    EXPECT_EQ(host().pendingMessageCount(), 0u);
}

// Messages the module has no work for, and codes outside the protocol.
TEST_F(ModuleProtocolTest, OtherMessagesReturnZeroAndChangeNothing) {
    for (int code :
         {0, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 100, -1, -100, INT_MAX, INT_MIN}) {
        ExpectMessageWithoutEffect(code);
    }
}

// The loaded module's library, opened once more, and the symbols it exports.
#if defined(_WIN32)
void* OpenLoadedModule() {
    std::string error;
    return kafhost::loadLibrary(KAF_MODULE_PATH, error);
}
void* ExportOf(void* library, const char* name) {
    return kafhost::librarySymbol(library, name);
}
void CloseModule(void* library) {
    kafhost::freeLibrary(library);
}
#else
void* OpenLoadedModule() {
    return dlopen(KAF_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
}
void* ExportOf(void* library, const char* name) {
    return dlsym(library, name);
}
void CloseModule(void* library) {
    dlclose(library);
}
#endif

TEST_F(ModuleProtocolTest, LibraryExportsOnlyItsTwoEntryPoints) {
    void* library = OpenLoadedModule();
    ASSERT_NE(library, nullptr);
    EXPECT_NE(ExportOf(library, "acrxEntryPoint"), nullptr);
    auto* version = reinterpret_cast<int (*)()>(ExportOf(library, "acrxGetApiVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), kAcRxApiVersion);
    // Workers and host helpers stay inside (names as the C++ compiler gives them).
    EXPECT_EQ(ExportOf(library, "_Z9RunKafDctPK6resbuf"), nullptr);
    EXPECT_EQ(ExportOf(library, "_Z12PumpMessagesv"), nullptr);
    EXPECT_EQ(ExportOf(library, "kLispFunctionTable"), nullptr);
    CloseModule(library);
}

// The invoke-function message runs here on the module's own units: a probe function of the test's
// own makes the host open a call with a chosen function code, and its entry hands the message to
// an application object.
using kafhost::CallResult;
using kafhost::LispValue;

Ckaf20App* appUnderTest = nullptr;
int invokeReturned = -1;

int SendInvokeFunctionMessage() {
    invokeReturned = appUnderTest->acrxEntryPoint(AcRx::kInvkSubrMsg, nullptr);
    return RSRSLT;
}

class InvokeFunctionTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        appUnderTest = &app_;
        invokeReturned = -1;
    }

    void TearDown() override { appUnderTest = nullptr; }

    // Calls the probe under the function code; its entry sends the invoke-function message.
    static CallResult Invoke(int code, const std::vector<LispValue>& args) {
        acedDefun(kProbe, code);
        acedRegFunc(&SendInvokeFunctionMessage, code);
        CallResult result = Call(kProbe, args);
        acedRegFunc(nullptr, code);
        acedUndef(kProbe, code);
        return result;
    }

    static constexpr const wchar_t* kProbe = L"invoke-probe";
    Ckaf20App app_;
};

TEST_F(InvokeFunctionTest, EachCodeReachesTheWorkerOfItsFunction) {
    const std::vector<LispValue> points = {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}})};
    // The two point-file functions differ only from their layer argument on.
    const std::vector<LispValue> files = {LispValue::list({LispValue::string(L"points.csv")}),
                                          LispValue::string(L","), LispValue::integer(5)};
    std::vector<std::wstring> seen;
    for (int code = 0; code < static_cast<int>(std::size(kFunctionNames)); ++code) {
        const std::vector<LispValue>& args = code == 4 || code == 7 ? files : points;
        host().resetDrawing();
        const CallResult direct = Call(kFunctionNames[code], args);
        host().resetDrawing();
        const CallResult invoked = Invoke(code, args);
        EXPECT_EQ(invokeReturned, 0);
        EXPECT_EQ(invoked.value, direct.value) << "code " << code;
        EXPECT_EQ(invoked.printed, direct.printed) << "code " << code;
        seen.push_back(kafhost::toLispText(direct.value) + L"|" + direct.printed);
    }
    // The comparison tells the workers apart only when their answers differ.
    for (std::size_t i = 0; i < seen.size(); ++i) {
        for (std::size_t j = i + 1; j < seen.size(); ++j) {
            EXPECT_NE(seen[i], seen[j]) << "codes " << i << " and " << j;
        }
    }
}

TEST_F(InvokeFunctionTest, UnknownCodeOrAMessageOutsideACallCallsNothing) {
    for (int code : {26, 27, 100, -1}) {
        const CallResult result = Invoke(code, {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})});
        EXPECT_EQ(invokeReturned, 0);
        EXPECT_FALSE(result.resultSet) << "code " << code;
        EXPECT_EQ(result.printed, L"") << "code " << code;
    }
    EXPECT_EQ(app_.acrxEntryPoint(AcRx::kInvkSubrMsg, nullptr), 0);
    EXPECT_EQ(host().commandLine(), L"");
    EXPECT_EQ(host().snapshot().entities.size(), 0u);
}

using DocumentDataManagerTest = HostTest;

TEST_F(DocumentDataManagerTest, IsADocumentReactorWhileItLives) {
    const std::size_t before = host().reactorCount();
    {
        AcApDataManager<CDocData> manager;
        EXPECT_EQ(host().reactorCount(), before + 1);
        // A document it holds nothing for is closed without harm.
        AcApDocument* document = host().newDocument();
        EXPECT_TRUE(host().closeDocument(document));
    }
    EXPECT_EQ(host().reactorCount(), before);
}

TEST_F(DocumentDataManagerTest, LeavesAShutDownDocumentManagerAlone) {
    const std::size_t before = host().reactorCount();
    auto manager = std::make_unique<AcApDataManager<CDocData>>();
    const AcApDocManagerReactor* reactor = manager.get();
    host().setDocumentManagerShutDown(true);
    manager.reset();
    host().setDocumentManagerShutDown(false);
    EXPECT_EQ(host().reactorCount(), before + 1);
    // The host only compares the stale pointer while removing it.
    acDocManagerPtr()->removeReactor(const_cast<AcApDocManagerReactor*>(reactor));
    EXPECT_EQ(host().reactorCount(), before);
}

using ErrorLinesTest = HostTest;

TEST_F(ErrorLinesTest, TriangulatorFailureIsPrintedExactlyAsRaised) {
    PrintTriangulatorFailure("A minimum of 3 vertices are required!\n");
    PrintTriangulatorFailure("Out of memory for edges\n");
    PrintTriangulatorFailure("100% done %s\n");
    EXPECT_EQ(host().commandLine(),
              L"A minimum of 3 vertices are required!\nOut of memory for edges\n100% done %s\n");
}

TEST_F(ErrorLinesTest, NoFailureLeavesAWorker) {
    const auto guarded = [](int (*worker)(const resbuf*)) {
        return RunWorkerGuarded(worker, nullptr, L"kaf-dct");
    };
    EXPECT_EQ(guarded([](const resbuf*) -> int {
                  throw geom::GeometryError(geom::GeometryFailure::kEdgesShort);
              }),
              RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw std::bad_alloc(); }), RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw std::length_error("vector"); }), RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw std::out_of_range("index 7"); }), RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw 42; }), RSERR);
    EXPECT_EQ(host().commandLine(),
              L"Out of memory for edges\nNot enough memory\nNot enough memory\n" +
                  Aborted(L"kaf-dct", L"index 7") + Aborted(L"kaf-dct", L"Unexpected failure!"));
    // A worker that ends by itself is left alone.
    EXPECT_EQ(guarded([](const resbuf*) { return RSRSLT; }), RSRSLT);
}

}  // namespace
