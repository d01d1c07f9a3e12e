// The path a wide file name opens: U+DC80 ... U+DCFF put back as the bytes a name that is not
// UTF-8 was read from, every other character encoded as UTF-8 as before.
#include <gtest/gtest.h>

#include <string>

#include "input/path_from_wide.h"

namespace {

#ifdef _WIN32
// Windows opens files by their wide names: the name is the path, escaped bytes and all.
TEST(PathFromWideTest, WideNamesAreThePathsAsTheyAre) {
    EXPECT_EQ(PathFromWide(L"h\xDCF6he.csv").native(), L"h\xDCF6he.csv");
    EXPECT_EQ(PathFromWide(L"H\u00F6he \U0001D11E.csv").native(), L"H\u00F6he \U0001D11E.csv");
}
#else
TEST(PathFromWideTest, EscapedBytesComeBackAndTextIsUtf8) {
    // A Latin-1 name, every byte 0x80 ... 0xFF, and a name mixing text and a lone byte.
    EXPECT_EQ(PathFromWide(L"h\xDCF6he.csv").native(), "h\xF6he.csv");
    std::wstring allBytes;
    std::string expected;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        allBytes += static_cast<wchar_t>(0xDC00 + byte);
        expected += static_cast<char>(byte);
    }
    EXPECT_EQ(PathFromWide(allBytes).native(), expected);
    EXPECT_EQ(PathFromWide(L"/tmp/d\u00FCne-\xDCE4.csv").native(), "/tmp/d\xC3\xBCne-\xE4.csv");

    // Text alone, characters beyond the basic plane included, is plain UTF-8.
    EXPECT_EQ(PathFromWide(L"H\u00F6he \u65E5 \U0001D11E.csv").native(),
              "H\xC3\xB6he \xE6\x97\xA5 \xF0\x9D\x84\x9E.csv");
    // Surrogates outside the escaped bytes' range are no bytes: encoded as before.
    EXPECT_EQ(PathFromWide(std::wstring(1, static_cast<wchar_t>(0xDC7F))).native(), "\xED\xB1\xBF");
}
#endif

}  // namespace
