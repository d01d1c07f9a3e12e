// acutPrintf and the command-line text, made the same on every system: the number conversions
// come from the C library (glibc on Linux, MinGW-w64's own on Windows, where the system's msvcrt
// rounds and spells differently), and wide text has a 32-bit wchar_t on Linux and a 16-bit one on
// Windows.
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "host_fixture.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace {

class CommandLine : public HostFixture {
protected:
    std::wstring printed() const { return host.commandLine(); }
};

TEST_F(CommandLine, StringConversionsTakeWideTextAndHsTakesNarrowText) {
    acutPrintf(L"[Module '%s'] Error in function '%s': %s\n", L"kaf", L"GetEntity:seek",
               acadErrorStatusText(Acad::eInvalidInput));
    acutPrintf(L"%hs|%S|%ls", "ab", "cd", L"ef");
    EXPECT_EQ(printed(),
              L"[Module 'kaf'] Error in function 'GetEntity:seek': eInvalidInput\nab|cd|ef");
}

TEST_F(CommandLine, NumbersPercentAndLengthModifiers) {
    acutPrintf(L"\rMesh %i/min%i will be created...", 3, 12);
    acutPrintf(L"|%f|%.0f%s|%d%%|%5.2f|%-4d|%04x|%X|", 2.0, 49.5, L"%", 7, 3.14159, 42, 255,
               0xABCu);
    const long long big = 5000000000LL;
    const std::size_t size = 12;
    acutPrintf(L"%lld %I64d %zu %hd %ld %e %g %c", big, big, size, 70000, 123456789L, 1.5, 0.25,
               L'x');
    EXPECT_EQ(printed(),
              L"\rMesh 3/min12 will be created...|2.000000|50%|7%| 3.14|42  |00ff|ABC|"
              L"5000000000 5000000000 12 4464 123456789 1.500000e+00 0.25 x");
}

TEST_F(CommandLine, WidthPrecisionNullStringsAndUnknownConversions) {
    acutPrintf(L"[%5s][%-5s][%.2s][%*d][%s]", L"ab", L"ab", L"abcdef", 4, 7,
               static_cast<const wchar_t*>(nullptr));
    acutPrintf(L"100%y and 5%");
    EXPECT_EQ(printed(), L"[   ab][ab   ][ab][   7][(null)]100%y and 5%");
}

TEST_F(CommandLine, NumberConversionsGiveTheSameTextEverywhere) {
    // Halfway cases round to the binary value's nearest decimal (msvcrt gives 0.13 and 0.063);
    // exponents have two digits at least (msvcrt gives e+004); large values print every digit.
    acutPrintf(L"%.2f|%.3f|%e|%g|%G|%.0f|%.0f", 0.125, 0.0625, 12345.678, 1e-5, 2.5e-20, 2.5, 3.5);
    acutPrintf(L"|%f|%.1f", 1e22, -0.0);
    EXPECT_EQ(printed(),
              L"0.12|0.062|1.234568e+04|1e-05|2.5E-20|2|4|10000000000000000000000.000000|-0.0");
    host.reset();
    acutPrintf(L"%i|%5i|%-5i|%ld|%lu|%I64d|%lld", INT_MIN, 42, -7, LONG_MAX, ULONG_MAX,
               static_cast<long long>(LLONG_MIN), 1LL << 40);
    EXPECT_EQ(printed(), L"-2147483648|   42|-7   |" + std::to_wstring(LONG_MAX) + L"|" +
                             std::to_wstring(ULONG_MAX) + L"|-9223372036854775808|1099511627776");
}

TEST_F(CommandLine, InfinitiesAndNansAreSpelledByTheHost) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    acutPrintf(L"%f|%f|%E|%+g|%6.2f|%-6f|%Lf|%f", inf, -inf, inf, nan, -nan, inf,
               static_cast<long double>(nan), std::copysign(nan, -1.0));
    EXPECT_EQ(printed(), L"inf|-inf|INF|+nan|  -nan|inf   |nan|-nan");
}

TEST_F(CommandLine, TextOfEveryEncodedLengthRoundTripsAndPrints) {
    // A-umlaut, the euro sign, and U+1D538, one wchar_t where it has 32 bits and a surrogate pair
    // where it has 16.
    const std::string utf8 = "H\xC3\xB6he \xE2\x82\xAC\xF0\x9D\x94\xB8";
    const std::wstring wide = kafhost::utf8ToWide(utf8);
    EXPECT_EQ(wide.size(), sizeof(wchar_t) == 2 ? 8u : 7u);
    EXPECT_EQ(wide, L"H\u00F6he \u20AC\U0001D538");
    EXPECT_EQ(kafhost::wideToUtf8(wide), utf8);
    acutPrintf(L"[%s|%hs|%.4s]", wide.c_str(), utf8.c_str(), wide.c_str());
    EXPECT_EQ(kafhost::wideToUtf8(printed()), "[" + utf8 + "|" + utf8 + "|H\xC3\xB6he]");
}

// Every reader of UTF-8 (utf8ToWide, acutPrintf's narrow strings, the DXF writer's layer names,
// kafcad's byte-keeping text) decodes with decodeUtf8: one U+FFFD stands for each longest start
// of a well-formed sequence, and for each byte that starts none.
TEST(Utf8, MalformedInputBecomesOneReplacementPerMaximalPart) {
    const std::wstring r(1, wchar_t(0xFFFD));
    const std::vector<std::pair<std::string, std::wstring>> cases = {
        {"\xE4", r},      // Latin-1 byte
        {"\x80", r},      // continuation byte alone
        {"\xC3", r},      // cut short at the end
        {"\xE2\x82", r},  // cut short after a good start
        {"\xE2\x82"
         "b",
         r + L"b"},  // ... and followed by text
        {"\xF0\x9D\x94"
         "b",
         r + L"b"},
        {"\xC0\x80", r + r},                  // overlong: C0 starts nothing
        {"\xE0\x80\x80", r + r + r},          // overlong three-byte form
        {"\xF0\x80\x80\x80", r + r + r + r},  // overlong four-byte form
        {"\xED\xA0\x80", r + r + r},          // surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},  // beyond U+10FFFF
        {"\xF5\x80", r + r},                  // lead byte of no sequence
        {"a\xFF"
         "b",
         L"a" + r + L"b"},
        // The longest and shortest of each length still decode.
        {"\xC2\x80\xDF\xBF", L"\u0080\u07FF"},
        {"\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80", L"\u0800\uD7FF\uE000"},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", L"\U00010000\U0010FFFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kafhost::utf8ToWide(c.first), c.second) << kafhost::wideToUtf8(c.second);
    }
    const kafhost::Utf8Sequence cut = kafhost::decodeUtf8(
        "\xF0\x9D\x94"
        "b",
        0);
    EXPECT_FALSE(cut.valid);
    EXPECT_EQ(cut.length, 3u);
    const kafhost::Utf8Sequence euro = kafhost::decodeUtf8("x\xE2\x82\xAC", 1);
    EXPECT_TRUE(euro.valid);
    EXPECT_EQ(euro.length, 3u);
    EXPECT_EQ(euro.code, char32_t(0x20AC));
    // A lone surrogate is no character: it becomes U+FFFD, never bytes that are not UTF-8.
    EXPECT_EQ(kafhost::wideToUtf8(std::wstring(1, wchar_t(0xD835))), "\xEF\xBF\xBD");
}

TEST_F(CommandLine, NarrowStringsThatAreNotUtf8PrintReplacementCharacters) {
    // A precision that cuts a character in two leaves a malformed end.
    acutPrintf(L"[%hs|%.2hs]", "gone\xF6.csv", "\xC3\xB6");
    EXPECT_EQ(printed(), L"[gone\uFFFD.csv|\u00F6]");
    acutPrintf(L"[%.1hs]", "\xC3\xB6");
    EXPECT_EQ(printed(), L"[gone\uFFFD.csv|\u00F6][\uFFFD]");
}

TEST_F(CommandLine, SinkGetsEveryTextAsItIsPrinted) {
    std::vector<std::wstring> seen;
    host.setPrintSink([&seen](const std::wstring& text) { seen.push_back(text); });
    acutPrintf(L"\nLoading files ... ");
    acutPrintf(L"finished.");
    host.setPrintSink(nullptr);
    acutPrintf(L"not seen");
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"\nLoading files ... ", L"finished."}));
    EXPECT_EQ(printed(), L"\nLoading files ... finished.not seen");
    host.clearCommandLine();
    EXPECT_EQ(printed(), L"");
}

}  // namespace
