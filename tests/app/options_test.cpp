#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"
#include "app/usage_error.h"

namespace {

using kafcad::Options;
using kafcad::ParseOptions;
using kafcad::UsageError;

std::string UsageMessage(const std::vector<std::string>& arguments) {
    try {
        ParseOptions(arguments);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(ParseOptions, EveryOptionInBothSpellings) {
    const Options options =
        ParseOptions({"--drawing", "in.json", "--layer", "TIN", "--layer=B 2", "--save=out.json",
                      "--module", "/m/kaf.arx", "-e", "(a)", "--eval=(b)", "-e", "(c)"});
    EXPECT_EQ(options.drawingPath.value_or(""), "in.json");
    EXPECT_EQ(options.layers, (std::vector<std::string>{"TIN", "B 2"}));
    EXPECT_EQ(options.savePath.value_or(""), "out.json");
    EXPECT_EQ(options.modulePath.value_or(""), "/m/kaf.arx");
    EXPECT_EQ(options.expressions, (std::vector<std::string>{"(a)", "(b)", "(c)"}));
    EXPECT_FALSE(options.help);
}

TEST(ParseOptions, DefaultsLeaveDrawingSaveAndModuleUnset) {
    const Options options = ParseOptions({"-e", "(kaf-dct nil)"});
    EXPECT_FALSE(options.drawingPath);
    EXPECT_FALSE(options.savePath);
    EXPECT_FALSE(options.modulePath);
    EXPECT_TRUE(options.layers.empty());
    // A value may itself begin with a dash.
    EXPECT_EQ(ParseOptions({"-e", "-5"}).expressions.front(), "-5");
}

TEST(ParseOptions, HelpAndVersionNeedNoExpression) {
    EXPECT_TRUE(ParseOptions({"--help"}).help);
    EXPECT_TRUE(ParseOptions({"--version"}).version);
}

TEST(ParseOptions, WrongArgumentsSayWhatIsWrong) {
    EXPECT_EQ(UsageMessage({}), "no expression given (use -e EXPR)");
    EXPECT_EQ(UsageMessage({"--layer", "X"}), "no expression given (use -e EXPR)");
    EXPECT_EQ(UsageMessage({"-e"}), "option -e needs a value");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--save"}), "option --save needs a value");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--frobnicate"}), "unknown option --frobnicate");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "(b)"}),
              "unexpected argument \"(b)\" (expressions follow -e)");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--save", "a", "--save", "b"}),
              "option --save given twice");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--layer", ""}),
              "option --layer needs a non-empty layer name");
    EXPECT_EQ(UsageMessage({"--help=yes"}), "option --help takes no value");
}

}  // namespace
