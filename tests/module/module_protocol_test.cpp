// The module's load and unload protocol as the host drives it: the messages of acrxEntryPoint,
// the dynamic linker, the document reactor and the AutoLISP function table in each document.
#if defined(_WIN32)
#include "platform/host/dynamic_library.h"
#else
#include <dlfcn.h>
#endif

#include <climits>
#include <iterator>
#include <string>
#include <vector>

#include "module_fixture.h"
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

}  // namespace
