// The invoke-function message of the application object, which the host sends for a function
// whose entry it does not call directly, and the per-document data manager's reactor. Both run
// here on the module's own units: a probe function of the test's own makes the host open a call
// with a chosen function code, and its entry hands the message to an application object.
#include <iterator>
#include <memory>
#include <vector>

#include "host/doc_data.h"
#include "host/doc_data_manager.h"
#include "host/kaf20_app.h"
#include "module_fixture.h"
#include "support/function_names.h"

namespace {

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
    for (int code : {18, 19, 100, -1}) {
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

}  // namespace
