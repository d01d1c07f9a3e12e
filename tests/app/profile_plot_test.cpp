// kafcad's profile pictures: two profiles with a gap, drawn in their colours on a grid, and the
// refusal of a profile point that is not (station elevation).
#include <gtest/gtest.h>

#include <string>

#include "kafcad_process.h"
#include "png_reader.h"
#include "support/files.h"

namespace {

// The pixels between columns x0 and x1 within 3 of the colour in each channel.
int Count(const Picture& picture, std::uint32_t colour, int x0, int x1) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = x0; x < x1; ++x) {
            bool near = true;
            for (const int shift : {0, 8, 16}) {
                const int a = static_cast<int>(picture.At(x, y) >> shift & 0xFF);
                const int b = static_cast<int>(colour >> shift & 0xFF);
                near = near && a - b <= 3 && b - a <= 3;
            }
            count += near ? 1 : 0;
        }
    }
    return count;
}

TEST(ProfilePicture, DrawsEachProfileInItsColourAndLeavesGapsOpen) {
    const TempFolder temp;
    const std::string script =
        "(setq ground '((0 10.0) (40 14.0) nil (60 14.0) (100 10.0)))\n"
        "(setq design '((0 12.0) (100 12.0)))\n"
        "(kafcad-profile-png \"long.png\" (list (list \"Ground\" ground) design) 5.0 600 300)\n";
    const KafcadRun run = RunKafcadProcess({"-"}, script, temp.Path("").string());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const Picture picture = ReadPng(temp.Path("long.png").string());
    ASSERT_EQ(picture.width, 600);
    ASSERT_EQ(picture.height, 300);
    // The plot runs from x 78 to 576 for stations 0 to 100: the gap is x 277 to 377.
    const std::uint32_t brown = 0x8C591F;  // (0.55, 0.35, 0.12)
    const std::uint32_t red = 0xD91A1A;    // (0.85, 0.1, 0.1)
    EXPECT_GT(Count(picture, brown, 90, 260), 100);
    EXPECT_EQ(Count(picture, brown, 290, 365), 0);
    EXPECT_GT(Count(picture, brown, 395, 560), 100);
    EXPECT_GT(Count(picture, red, 290, 365), 50);
}

TEST(ProfilePicture, RefusesPointsThatAreNotStationAndElevation) {
    const KafcadRun run = RunKafcadProcess({"-e", "(kafcad-profile-png \"p.png\" '(((0 1 2))))"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: bad argument value: a profile point has to be (station elevation)\n");
}

}  // namespace
