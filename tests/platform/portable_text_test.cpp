// Text the stand-in host makes the same on every system: the command line's printf, whose number
// conversions come from the C library (glibc on Linux, MinGW-w64's own on Windows, where the
// system's msvcrt rounds and spells differently), and wide text, whose wchar_t has 32 bits on
// Linux and 16 on Windows.
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "host_fixture.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace {

using PortableTextTest = HostFixture;

TEST_F(PortableTextTest, NumberConversionsOfThePrintfGiveTheSameTextEverywhere) {
    // Halfway cases round to the binary value's nearest decimal (msvcrt gives 0.13 and 0.063);
    // exponents have two digits at least (msvcrt gives e+004); large values print every digit.
    acutPrintf(L"%.2f|%.3f|%e|%g|%G|%.0f|%.0f", 0.125, 0.0625, 12345.678, 1e-5, 2.5e-20, 2.5, 3.5);
    acutPrintf(L"|%f|%.1f", 1e22, -0.0);
    EXPECT_EQ(host.commandLine(),
              L"0.12|0.062|1.234568e+04|1e-05|2.5E-20|2|4|10000000000000000000000.000000|-0.0");
    host.reset();
    acutPrintf(L"%i|%5i|%-5i|%ld|%lu|%I64d|%lld", INT_MIN, 42, -7, LONG_MAX, ULONG_MAX,
               static_cast<long long>(LLONG_MIN), 1LL << 40);
    EXPECT_EQ(host.commandLine(), L"-2147483648|   42|-7   |" + std::to_wstring(LONG_MAX) + L"|" +
                                      std::to_wstring(ULONG_MAX) +
                                      L"|-9223372036854775808|1099511627776");
}

TEST_F(PortableTextTest, InfinitiesAndNansAreSpelledByTheHost) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    acutPrintf(L"%f|%f|%E|%+g|%6.2f|%-6f|%Lf|%f", inf, -inf, inf, nan, -nan, inf,
               static_cast<long double>(nan), std::copysign(nan, -1.0));
    EXPECT_EQ(host.commandLine(), L"inf|-inf|INF|+nan|  -nan|inf   |nan|-nan");
}

TEST_F(PortableTextTest, TextBeyondTheBasicPlaneRoundTripsAndPrints) {
    // U+1D538 is one wchar_t where it has 32 bits and a surrogate pair where it has 16.
    const std::string utf8 = "H\xC3\xB6he \xF0\x9D\x94\xB8";
    const std::wstring wide = kafhost::utf8ToWide(utf8);
    EXPECT_EQ(wide.size(), sizeof(wchar_t) == 2 ? 7u : 6u);
    EXPECT_EQ(wide, L"H\u00F6he \U0001D538");
    EXPECT_EQ(kafhost::wideToUtf8(wide), utf8);
    acutPrintf(L"[%s|%hs|%.4s]", wide.c_str(), utf8.c_str(), wide.c_str());
    EXPECT_EQ(kafhost::wideToUtf8(host.commandLine()), "[" + utf8 + "|" + utf8 + "|H\xC3\xB6he]");
    // A lone surrogate is no character: it becomes U+FFFD, never bytes that are not UTF-8.
    EXPECT_EQ(kafhost::wideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD835))), "\xEF\xBF\xBD");
}

}  // namespace
