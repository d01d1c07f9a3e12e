#include <gtest/gtest.h>

#include <string>

#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace {

TEST(Utf8, EveryEncodedLengthConvertsBothWays) {
    const std::string utf8 = "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80";  // A, a-umlaut, euro, emoji
    const std::wstring wide = kafhost::utf8ToWide(utf8);
    if (sizeof(wchar_t) == 4) {
        EXPECT_EQ(wide, (std::wstring{L'A', wchar_t(0xE4), wchar_t(0x20AC), wchar_t(0x1F600)}));
    }
    EXPECT_EQ(kafhost::wideToUtf8(wide), utf8);
}

TEST(Utf8, MalformedInputBecomesTheReplacementCharacter) {
    const std::wstring replacement(1, wchar_t(0xFFFD));
    EXPECT_EQ(kafhost::utf8ToWide("\xE4"), replacement);          // Latin-1 byte
    EXPECT_EQ(kafhost::utf8ToWide("\xC3"), replacement);          // cut short
    EXPECT_EQ(kafhost::utf8ToWide("\xC0\x80"), replacement);      // overlong
    EXPECT_EQ(kafhost::utf8ToWide("\xED\xA0\x80"), replacement);  // surrogate
    EXPECT_EQ(kafhost::utf8ToWide("a\xFF"
                                  "b"),
              L"a" + replacement + L"b");
    EXPECT_EQ(kafhost::wideToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
