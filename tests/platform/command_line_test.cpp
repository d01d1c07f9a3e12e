// acutPrintf: the host's formatting and the command-line text.
#include <cstdint>

#include "host_fixture.h"

namespace {

class CommandLine : public HostFixture {
protected:
    std::wstring printed() const { return host.commandLine(); }
};

TEST_F(CommandLine, StringConversionTakesAWideString) {
    acutPrintf(L"[Module '%s'] Error in function '%s': %s\n", L"kaf", L"GetEntity:seek",
               acadErrorStatusText(Acad::eInvalidInput));
    EXPECT_EQ(printed(), L"[Module 'kaf'] Error in function 'GetEntity:seek': eInvalidInput\n");
}

TEST_F(CommandLine, NarrowTextIsPrintedAfterTheCallerWidensIt) {
    const char* narrowText = "Triangulation failed!\n";
    const std::wstring widened(narrowText, narrowText + std::char_traits<char>::length(narrowText));
    acutPrintf(L"%s", widened.c_str());
    acutPrintf(L"%hs|%S|%ls", "ab", "cd", L"ef");
    EXPECT_EQ(printed(), L"Triangulation failed!\nab|cd|ef");
}

TEST_F(CommandLine, NumbersAndPercent) {
    acutPrintf(L"\rMesh %i/min%i will be created...", 3, 12);
    acutPrintf(L"|%f|%.0f%s|%d%%|%5.2f|%-4d|%04x|%X", 2.0, 49.5, L"%", 7, 3.14159, 42, 255, 0xABCu);
    EXPECT_EQ(printed(), L"\rMesh 3/min12 will be created...|2.000000|50%|7%| 3.14|42  |00ff|ABC");
}

TEST_F(CommandLine, LengthModifiersTakeTheirArguments) {
    const long long big = 5000000000LL;
    const std::size_t size = 12;
    acutPrintf(L"%lld %I64d %zu %hd %ld %e %g %c", big, big, size, 70000, 123456789L, 1.5, 0.25,
               L'x');
    EXPECT_EQ(printed(), L"5000000000 5000000000 12 4464 123456789 1.500000e+00 0.25 x");
}

TEST_F(CommandLine, WidthPrecisionAndNullStrings) {
    acutPrintf(L"[%5s][%-5s][%.2s][%*d][%s]", L"ab", L"ab", L"abcdef", 4, 7,
               static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(printed(), L"[   ab][ab   ][ab][   7][(null)]");
}

TEST_F(CommandLine, UnknownConversionIsCopied) {
    acutPrintf(L"100%y and 5%");
    EXPECT_EQ(printed(), L"100%y and 5%");
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
