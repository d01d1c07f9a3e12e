// Loading a module and the messages it gets, with the probe modules built for these tests. The
// requests to the dynamic linker are checked with the real module in its protocol tests.
#include <cstdio>
#include <type_traits>

#include "host_fixture.h"
#include "platform/host/impl.h"

namespace {

std::wstring pointerText(const void* pointer) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", pointer);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

class ModuleLoader : public HostFixture {
protected:
    void TearDown() override {
        host.unloadModule();
        for (AcApDocument* document : extraDocuments) {
            host.closeDocument(document);
        }
    }

    void load() {
        std::string error;
        ASSERT_TRUE(host.loadModule(KAFHOST_probe_module_PATH, error)) << error;
    }

    std::wstring message(int code, const void* packet) {
        return L"[probe] " + std::to_wstring(code) + L" " + pointerText(packet) + L"\n";
    }

    std::vector<AcApDocument*> extraDocuments;
};

TEST_F(ModuleLoader, LoadSendsInitThenDocumentLoadForEveryDocument) {
    AcApDocument* first = host.currentDocument();
    AcApDocument* second = host.newDocument(L"Second");
    extraDocuments.push_back(second);
    host.clearCommandLine();
    load();
    void* appId = host.moduleAppId();
    EXPECT_EQ(host.commandLine(), message(AcRx::kInitAppMsg, appId) +
                                      message(AcRx::kLoadDwgMsg, first) +
                                      message(AcRx::kLoadDwgMsg, second));
    EXPECT_EQ(host.currentDocument(), second);
    EXPECT_TRUE(host.isDefined(L"probe-echo"));
    ASSERT_TRUE(host.activateDocument(first));
    EXPECT_TRUE(host.isDefined(L"probe-echo"));
    EXPECT_EQ(host.loadedModules(), std::vector<std::string>{KAFHOST_probe_module_PATH});
}

TEST_F(ModuleLoader, CallsReachRegisteredEntriesDirectlyAndOthersByMessage) {
    load();
    host.clearCommandLine();
    const auto echoed = host.call(L"probe-echo", {kafhost::LispValue::string(L"x")});
    EXPECT_EQ(echoed.status, RSRSLT);
    EXPECT_EQ(echoed.value, kafhost::LispValue::string(L"x"));
    EXPECT_EQ(echoed.printed, L"");
    const auto messaged = host.call(L"probe-message");
    EXPECT_EQ(messaged.printed, message(AcRx::kInvkSubrMsg, nullptr));
    EXPECT_EQ(messaged.value, kafhost::LispValue::t());
    EXPECT_EQ(messaged.status, RSRSLT);
}

TEST_F(ModuleLoader, DocumentsOpenedAndClosedLaterAreTold) {
    load();
    const std::size_t reactors = host.reactorCount();
    host.clearCommandLine();
    AcApDocument* later = host.newDocument();
    EXPECT_EQ(host.commandLine(), message(AcRx::kLoadDwgMsg, later));
    EXPECT_TRUE(host.isDefined(L"probe-message"));
    host.clearCommandLine();
    ASSERT_TRUE(host.closeDocument(later));
    EXPECT_EQ(host.commandLine(), message(AcRx::kUnloadDwgMsg, later) + L"[probe] destroyed " +
                                      pointerText(later) + L"\n");
    EXPECT_EQ(host.reactorCount(), reactors);
    EXPECT_FALSE(host.closeDocument(later));
}

TEST_F(ModuleLoader, UnloadUndefinesEverywhereAndRemovesTheReactor) {
    const std::size_t reactorsBefore = host.reactorCount();
    load();
    EXPECT_EQ(host.reactorCount(), reactorsBefore + 1);
    void* appId = host.moduleAppId();
    host.clearCommandLine();
    host.unloadModule();
    EXPECT_EQ(host.commandLine(), message(AcRx::kUnloadDwgMsg, host.currentDocument()) +
                                      message(AcRx::kUnloadAppMsg, appId));
    EXPECT_FALSE(host.isDefined(L"probe-echo"));
    EXPECT_TRUE(host.loadedModules().empty());
    EXPECT_EQ(host.reactorCount(), reactorsBefore);
    load();  // and once more: the module is mapped afresh
    EXPECT_EQ(host.reactorCount(), reactorsBefore + 1);
}

TEST_F(ModuleLoader, UnloadForgetsWhatACarelessModuleLeftBehind) {
    const std::size_t reactorsBefore = host.reactorCount();
    std::string error;
    ASSERT_TRUE(host.loadModule(KAFHOST_probe_module_careless_PATH, error)) << error;
    host.unloadModule();
    EXPECT_FALSE(host.isDefined(L"probe-echo"));
    EXPECT_EQ(host.reactorCount(), reactorsBefore);
    host.clearCommandLine();
    ASSERT_TRUE(host.closeDocument(host.newDocument()));  // the module's reactor is not told
    EXPECT_EQ(host.commandLine(), L"");
}

// The host calls acrxEntryPoint through the type it is declared with (a call through another
// function type is undefined, and clang's function sanitizer stops it), and a code outside the
// enumerators is still a value of the message type, so sending one is defined too.
static_assert(std::is_same<kafhost::EntryPointFn, decltype(&acrxEntryPoint)>::value,
              "acrxEntryPoint is called through its declared type");
static_assert(std::is_same<std::underlying_type<AcRx::AppMsgCode>::type, int>::value,
              "every int is a message code");

TEST_F(ModuleLoader, AnyMessageCodeReachesTheModule) {
    load();
    host.clearCommandLine();
    EXPECT_EQ(host.sendMessage(42, nullptr), AcRx::kRetOK);
    EXPECT_EQ(host.sendMessage(-1, nullptr), AcRx::kRetOK);
    EXPECT_EQ(host.commandLine(), message(42, nullptr) + message(-1, nullptr));
}

TEST_F(ModuleLoader, BadModulesAreRefused) {
    std::string error;
    EXPECT_FALSE(host.loadModule("/nonexistent/kaf20x64.arx", error));
    EXPECT_NE(error.find("cannot load '/nonexistent/kaf20x64.arx'"), std::string::npos);
    EXPECT_FALSE(host.loadModule(KAFHOST_probe_module_old_PATH, error));
    EXPECT_NE(error.find("was built for API version 19, the host requires 20"), std::string::npos);
    EXPECT_FALSE(host.loadModule(KAFHOST_probe_module_unversioned_PATH, error));
    EXPECT_NE(error.find("does not export acrxGetApiVersion"), std::string::npos);
    host.clearCommandLine();
    EXPECT_FALSE(host.loadModule(KAFHOST_probe_module_refusing_PATH, error));
    EXPECT_NE(error.find("refused to initialise"), std::string::npos);
    EXPECT_EQ(host.commandLine().find(L"[probe] 3"), std::wstring::npos);
    EXPECT_TRUE(host.loadedModules().empty());
}

}  // namespace
