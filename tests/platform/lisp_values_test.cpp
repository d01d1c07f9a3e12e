// Argument values to chains, result chains to values, and the printed form of values.
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "host_fixture.h"

namespace {

using kafhost::ChainBuilder;
using kafhost::chainToValue;
using kafhost::chainTypes;
using kafhost::LispValue;
using kafhost::valuesToChain;

LispValue Int(int value) {
    return LispValue::integer(value);
}
LispValue Real(double value) {
    return LispValue::real(value);
}
LispValue Str(const wchar_t* text) {
    return LispValue::string(text);
}
LispValue List(std::vector<LispValue> items) {
    return LispValue::list(std::move(items));
}

TEST(LispValues, ArgumentsBecomeTheInterpretersNodes) {
    const auto chain = valuesToChain(
        {List({List({Int(1), Int(2), Real(3.5)}), List({Real(4), Real(5)})}), Str(L"TIN"),
         Int(32767), Int(32768), Int(-32768), Real(0.5), LispValue::nil(), LispValue::t()});
    EXPECT_EQ(chainTypes(chain.get()),
              (std::vector<short>{RTLB, RT3DPOINT, RTPOINT, RTLE, RTSTR, RTSHORT, RTLONG, RTSHORT,
                                  RTREAL, RTNIL, RTT}));
    const resbuf* point = chain->rbnext;
    EXPECT_EQ(point->resval.rpoint[0], 1.0);
    EXPECT_EQ(point->resval.rpoint[2], 3.5);
    const resbuf* layer = point->rbnext->rbnext->rbnext;
    EXPECT_EQ(std::wstring(layer->resval.rstring), L"TIN");
    EXPECT_EQ(layer->rbnext->resval.rint, 32767);
    EXPECT_EQ(layer->rbnext->rbnext->resval.rlong, 32768);
    // Only lists of two or three numbers are points.
    EXPECT_EQ(chainTypes(valuesToChain({List({Int(1)})}).get()),
              (std::vector<short>{RTLB, RTSHORT, RTLE}));
    EXPECT_EQ(chainTypes(valuesToChain({List({Int(1), Int(2), Int(3), Int(4)})}).get()),
              (std::vector<short>{RTLB, RTSHORT, RTSHORT, RTSHORT, RTSHORT, RTLE}));
    EXPECT_EQ(chainTypes(valuesToChain({List({Int(1), Str(L"a")})}).get()),
              (std::vector<short>{RTLB, RTSHORT, RTSTR, RTLE}));
    EXPECT_EQ(chainTypes(valuesToChain({List({Str(L"2A"), Str(L"2B")})}).get()),
              (std::vector<short>{RTLB, RTSTR, RTSTR, RTLE}));
    EXPECT_EQ(valuesToChain({}).get(), nullptr);
}

TEST(LispValues, ResultChainsBecomeValues) {
    const auto chain = ChainBuilder()
                           .lb()
                           .lb()
                           .point3(1, 2, 3)
                           .point(4, 5)
                           .le()
                           .str(L"2A")
                           .shortInt(-3)
                           .longInt(100000)
                           .real(0.25)
                           .nil()
                           .t()
                           .le()
                           .build();
    LispValue value;
    ASSERT_TRUE(chainToValue(chain.get(), value));
    EXPECT_EQ(value, List({List({LispValue::point(1, 2, 3), LispValue::point(4, 5)}), Str(L"2A"),
                           Int(-3), Int(100000), Real(0.25), LispValue::nil(), LispValue::t()}));
    // Empty lists are nil, one item stands alone, more items without a list become one.
    ASSERT_TRUE(chainToValue(ChainBuilder().lb().le().build().get(), value));
    EXPECT_TRUE(value.isNil());
    ASSERT_TRUE(chainToValue(nullptr, value));
    EXPECT_TRUE(value.isNil());
    ASSERT_TRUE(chainToValue(ChainBuilder().str(L"x").build().get(), value));
    EXPECT_EQ(value, Str(L"x"));
    ASSERT_TRUE(chainToValue(ChainBuilder().str(L"x").shortInt(1).build().get(), value));
    EXPECT_EQ(value, List({Str(L"x"), Int(1)}));
}

TEST(LispValues, BrokenResultChainsAreReported) {
    LispValue value;
    std::wstring error;
    EXPECT_FALSE(chainToValue(ChainBuilder().lb().str(L"2A").build().get(), value, &error));
    EXPECT_EQ(error, L"RTLB without its RTLE");
    EXPECT_FALSE(chainToValue(ChainBuilder().str(L"2A").le().build().get(), value, &error));
    EXPECT_EQ(error, L"RTLE without its RTLB");
    EXPECT_FALSE(chainToValue(ChainBuilder().node(RTDOTE).build().get(), value, &error));
    EXPECT_EQ(error, L"node of type RTDOTE in a result");
}

TEST(LispValues, PrintedForm) {
    using kafhost::toLispText;
    EXPECT_EQ(toLispText(List({Int(-17), Real(2), LispValue::nil(), LispValue::t(),
                               LispValue::symbol(L"KAF-DCT"), Str(L"2A")})),
              L"(-17 2.0 nil T KAF-DCT \"2A\")");
    EXPECT_EQ(toLispText(List({})), L"nil");
    EXPECT_EQ(toLispText(Str(L"say \"hi\"\\\n\t\r\x1b\x01\x7f Gel\u00e4nde")),
              LR"("say \"hi\"\\\n\t\r\e\001\177 Gel)"
              L"\u00e4nde\"");
    // Princ's form: strings bare, also inside lists.
    EXPECT_EQ(kafhost::toDisplayText(List({Str(L"a \"b\""), Int(1)})), L"(a \"b\" 1)");
}

TEST(LispValues, RealsWithADecimalPointAndNoMoreDigitsThanNeeded) {
    const std::pair<double, const wchar_t*> reals[] = {
        {0.0, L"0.0"},
        {-0.0, L"-0.0"},
        {1.0, L"1.0"},
        {0.1, L"0.1"},
        {-2.5, L"-2.5"},
        {123456.0, L"123456.0"},
        {1e20, L"1.0e+20"},
        {1.5e-7, L"1.5e-07"},
        {0.1 + 0.2, L"0.30000000000000004"},
        {std::numeric_limits<double>::infinity(), L"1.#INF"},
        {-std::numeric_limits<double>::infinity(), L"-1.#INF"},
        {std::nan(""), L"-1.#IND"}};
    for (const auto& [value, text] : reals) {
        EXPECT_EQ(kafhost::toLispText(Real(value)), text);
    }
}

TEST(LispValues, EqualityFollowsTypeAndSymbolsHaveNoNodeType) {
    EXPECT_EQ(LispValue::symbol(L"A"), LispValue::symbol(L"A"));
    EXPECT_NE(LispValue::symbol(L"A"), Str(L"A"));
    EXPECT_THROW(valuesToChain({List({Int(1), LispValue::symbol(L"A")})}), std::invalid_argument);
    EXPECT_NE(Int(1), Real(1));
    EXPECT_EQ(LispValue::point(1, 2), List({Real(1), Real(2)}));
    EXPECT_EQ(LispValue::list({}), LispValue::nil());
}

TEST(LispValues, CopiedChainOwnsItsStrings) {
    auto original = ChainBuilder().str(L"abc").node(RTSTR).build();
    auto copy = kafhost::copyChain(original.get());
    EXPECT_NE(copy->resval.rstring, original->resval.rstring);
    EXPECT_EQ(std::wstring(copy->resval.rstring), L"abc");
    EXPECT_EQ(copy->rbnext->resval.rstring, nullptr);
}

}  // namespace
