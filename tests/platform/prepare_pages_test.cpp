// Making pages present ahead of writing leaves what they hold as it is, inside and around the
// range, whatever the range's alignment and size.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/db/prepare_pages.h"

namespace {

TEST(PreparePages, ContentsInsideAndAroundTheRangeStay) {
    std::vector<std::uint32_t> words(3u << 20);
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<std::uint32_t>(i * 2654435761u);
    }
    const auto expectPattern = [&words] {
        for (std::size_t i = 0; i < words.size(); ++i) {
            ASSERT_EQ(words[i], static_cast<std::uint32_t>(i * 2654435761u)) << i;
        }
    };
    // Unaligned starts and ends, below and above the smallest range acted on, and nothing at all.
    kafhost::preparePagesForWriting(words.data() + 3, (words.size() - 7) * sizeof(std::uint32_t));
    expectPattern();
    kafhost::preparePagesForWriting(words.data() + 1001, kafhost::kPreparePagesMinBytes + 12);
    expectPattern();
    kafhost::preparePagesForWriting(words.data(), kafhost::kPreparePagesMinBytes - 1);
    expectPattern();
    kafhost::preparePagesForWriting(nullptr, 0);
    kafhost::preparePagesForWriting(words.data(), 0);
    expectPattern();
}

}  // namespace
