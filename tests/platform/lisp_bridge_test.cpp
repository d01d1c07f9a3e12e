// Defining and calling AutoLISP functions: arguments, results, printed text, exceptions.
#include "host_fixture.h"

namespace {

using kafhost::CallResult;
using kafhost::LispValue;

class LispBridge : public HostFixture {
protected:
    void define(const wchar_t* name, int code, int (*entry)()) {
        ASSERT_EQ(acedDefun(name, code), RTNORM);
        ASSERT_EQ(acedRegFunc(entry, code), RTNORM);
    }
};

TEST_F(LispBridge, CallSeesItsCodeAndArguments) {
    define(L"echo", 4, [] {
        acutPrintf(L"code %d\n", acedGetFunCode());
        acedRetList(acedGetArgs());
        return RSRSLT;
    });
    const CallResult result =
        host.call(L"echo", {LispValue::string(L"2A"), LispValue::point(1, 2, 3)});
    EXPECT_TRUE(result.defined);
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_TRUE(result.resultSet);
    EXPECT_EQ(result.value, LispValue::list({LispValue::string(L"2A"), LispValue::point(1, 2, 3)}));
    EXPECT_EQ(result.printed, L"code 4\n");
    EXPECT_EQ(acedGetFunCode(), RTERROR);
    EXPECT_EQ(acedGetArgs(), nullptr);
}

TEST_F(LispBridge, ResultListIsCopiedSoTheFunctionFreesItsOwn) {
    define(L"handles", 1, [] {
        resbuf* list = acutNewRb(RTLB);
        resbuf* text = list->rbnext = acutNewRb(RTSTR);
        text->resval.rstring = static_cast<ACHAR*>(std::malloc(3 * sizeof(ACHAR)));
        std::wcscpy(text->resval.rstring, L"2A");
        text->rbnext = acutNewRb(RTLE);
        acedRetList(list);
        acutRelRb(list);
        return RSRSLT;
    });
    EXPECT_EQ(host.call(L"handles").value, LispValue::list({LispValue::string(L"2A")}));
}

TEST_F(LispBridge, LastResultCallWins) {
    define(L"t-then-nil", 2, [] {
        acedRetT();
        acedRetNil();
        return RSERR;
    });
    define(L"silent", 3, [] { return RSRSLT; });
    const CallResult failed = host.call(L"t-then-nil");
    EXPECT_EQ(failed.status, RSERR);
    EXPECT_TRUE(failed.resultSet);
    EXPECT_TRUE(failed.value.isNil());
    const CallResult silent = host.call(L"silent");
    EXPECT_FALSE(silent.resultSet);
    EXPECT_TRUE(silent.value.isNil());
}

TEST_F(LispBridge, ExactChainsArePassedAsGiven) {
    define(L"types", 5, [] {
        int count = 0;
        for (const resbuf* node = acedGetArgs(); node != nullptr; node = node->rbnext) {
            ++count;
        }
        acutPrintf(L"%d nodes, last %d", count, acedGetArgs()->rbnext->rbnext->restype);
        return RSRSLT;
    });
    // A handle list without its closing node.
    const auto chain = kafhost::ChainBuilder().lb().str(L"2A").str(L"2B").build();
    EXPECT_EQ(host.callWithChain(L"types", chain.get()).printed, L"3 nodes, last 5005");
}

TEST_F(LispBridge, NamesAreCaseSensitiveAndUndefinable) {
    define(L"kaf-changeMeshColor", 9, [] { return RSRSLT; });
    EXPECT_TRUE(host.isDefined(L"kaf-changeMeshColor"));
    EXPECT_FALSE(host.isDefined(L"kaf-changemeshcolor"));
    EXPECT_EQ(host.functionCode(L"kaf-changeMeshColor"), 9);
    EXPECT_FALSE(host.call(L"kaf-changemeshcolor").defined);
    EXPECT_EQ(acedUndef(L"kaf-changeMeshColor", 8), RTERROR);
    EXPECT_EQ(acedUndef(L"kaf-changeMeshColor", 9), RTNORM);
    EXPECT_FALSE(host.isDefined(L"kaf-changeMeshColor"));
    EXPECT_EQ(host.functionCode(L"kaf-changeMeshColor"), -1);
}

TEST_F(LispBridge, EscapingExceptionIsReported) {
    define(L"throws", 6, []() -> int { throw L"Mesh could not be built"; });
    const CallResult result = host.call(L"throws");
    EXPECT_TRUE(result.exceptionEscaped);
    EXPECT_EQ(result.exceptionText, L"Mesh could not be built");
    EXPECT_EQ(result.status, RTERROR);
}

TEST_F(LispBridge, NewNodesAreEmpty) {
    resbuf* node = acutNewRb(RT3DPOINT);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->restype, RT3DPOINT);
    EXPECT_EQ(node->rbnext, nullptr);
    EXPECT_EQ(node->resval.rpoint[2], 0.0);
    EXPECT_EQ(acutRelRb(node), RTNORM);
    EXPECT_EQ(acedRetT(), RTERROR);  // outside a call
}

}  // namespace
