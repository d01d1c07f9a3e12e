#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program/options.h"
#include "app/program/usage_error.h"

namespace {

using kafcad::Input;
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

Input Script(const std::string& path) {
    return {Input::Kind::kScript, path};
}
Input Expression(const std::string& text) {
    return {Input::Kind::kExpression, text};
}

TEST(ParseOptions, EveryOptionInBothSpellings) {
    const Options options = ParseOptions(
        {"--drawing", "in.json", "--layer", "TIN", "--layer=B 2", "--save=out.dxf", "--module",
         "/m/kaf.arx", "--png", "top.png", "--png-size=640x480", "-e", "(a)", "--eval=(b)"});
    EXPECT_EQ(options.drawingPath.value_or(""), "in.json");
    ASSERT_EQ(options.layers.size(), 2u);
    EXPECT_EQ(options.layers[0].name, "TIN");
    EXPECT_EQ(options.layers[1].name, "B 2");
    EXPECT_FALSE(options.layers[1].style);
    EXPECT_EQ(options.savePath.value_or(""), "out.dxf");
    EXPECT_EQ(options.modulePath.value_or(""), "/m/kaf.arx");
    EXPECT_EQ(options.pngPath.value_or(""), "top.png");
    EXPECT_EQ(options.pngSize.width, 640);
    EXPECT_EQ(options.pngSize.height, 480);
    EXPECT_EQ(options.inputs, (std::vector<Input>{Expression("(a)"), Expression("(b)")}));
    EXPECT_FALSE(options.help);
}

TEST(ParseOptions, ScriptsAndExpressionsKeepTheirOrder) {
    const Options options = ParseOptions({"first.lsp", "-e", "(a)", "--layer", "TIN",
                                          "dir/second.lsp", "-", "--", "--odd-name.lsp", "-e"});
    EXPECT_EQ(options.inputs,
              (std::vector<Input>{Script("first.lsp"), Expression("(a)"), Script("dir/second.lsp"),
                                  Script("-"), Script("--odd-name.lsp"), Script("-e")}));
}

TEST(ParseOptions, DefaultsLeaveEverythingUnset) {
    const Options options = ParseOptions({});
    EXPECT_FALSE(options.drawingPath);
    EXPECT_FALSE(options.savePath);
    EXPECT_FALSE(options.modulePath);
    EXPECT_FALSE(options.pngPath);
    EXPECT_EQ(options.pngSize.width, 1200);
    EXPECT_EQ(options.pngSize.height, 1200);
    EXPECT_TRUE(options.layers.empty());
    EXPECT_TRUE(options.inputs.empty());
    // A value may itself begin with a dash.
    EXPECT_EQ(ParseOptions({"-e", "-5"}).inputs.front(), Expression("-5"));
}

TEST(ParseOptions, PictureSizes) {
    EXPECT_EQ(ParseOptions({"--png", "a.png", "--png-size", "800"}).pngSize.height, 800);
    EXPECT_EQ(ParseOptions({"--png", "a.png", "--png-size", "800"}).pngSize.width, 800);
    EXPECT_EQ(ParseOptions({"--png", "a.png", "--png-size", "16384X1"}).pngSize.width, 16384);
    for (const char* bad : {"0", "800x", "x600", "16385", "12.5", "-3", "800x600x2", ""}) {
        EXPECT_EQ(UsageMessage({"--png", "a.png", "--png-size", bad}),
                  std::string("option --png-size needs WxH or N (1 to 16384 pixels), not \"") +
                      bad + "\"");
    }
    EXPECT_EQ(UsageMessage({"--png-size", "800"}), "option --png-size needs --png FILE");
}

TEST(ParseOptions, LayersWithColoursLinetypesAndLineweights) {
    const Options options = ParseOptions(
        {"--layer", "MAJOR=1,dashed,0.5", "--layer=SPOTS=#FF8000", "--layer", "A=250"});
    ASSERT_EQ(options.layers.size(), 3u);
    const kafcad::LayerStyle& major = options.layers[0].style.value();
    EXPECT_EQ(options.layers[0].name, "MAJOR");
    EXPECT_EQ(major.colorIndex, 1);
    EXPECT_EQ(major.trueColor, -1);
    EXPECT_EQ(major.linetype, L"DASHED");
    EXPECT_EQ(major.lineweight, 50);
    EXPECT_EQ(options.layers[1].style->trueColor, 0xFF8000);
    EXPECT_EQ(options.layers[1].style->linetype, L"Continuous");
    EXPECT_EQ(options.layers[2].style->colorIndex, 250);
    EXPECT_EQ(options.layers[2].style->lineweight, -3);

    EXPECT_EQ(UsageMessage({"--layer", "A=256"}),
              "option --layer A: colour \"256\" is neither a colour index 1 to 255 nor a true "
              "colour #RRGGBB");
    EXPECT_EQ(UsageMessage({"--layer", "A=#12345G"}),
              "option --layer A: colour \"#12345G\" is neither a colour index 1 to 255 nor a "
              "true colour #RRGGBB");
    EXPECT_EQ(UsageMessage({"--layer", "A=1,ZIGZAG"}),
              "option --layer A: linetype \"ZIGZAG\" is not one of Continuous, DASHED, HIDDEN, "
              "CENTER, DOT, DASHDOT, PHANTOM");
    EXPECT_EQ(UsageMessage({"--layer", "A=1,DOT,0.33"}),
              "option --layer A: lineweight \"0.33\" is not one of AutoCAD's, in millimetres "
              "(0.25, 0.5, ...)");
    EXPECT_EQ(UsageMessage({"--layer", "A=1,DOT,0.5,7"}),
              "option --layer A: expected COLOUR[,LINETYPE[,LINEWEIGHT]], found \"1,DOT,0.5,7\"");
    EXPECT_EQ(UsageMessage({"--layer", "=1"}), "option --layer needs a non-empty layer name");
}

TEST(ParseOptions, WrongArgumentsSayWhatIsWrong) {
    EXPECT_EQ(UsageMessage({"-e"}), "option -e needs a value");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--save"}), "option --save needs a value");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--frobnicate"}), "unknown option --frobnicate");
    EXPECT_EQ(UsageMessage({"-x"}), "unknown option -x");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--save", "a", "--save", "b"}),
              "option --save given twice");
    EXPECT_EQ(UsageMessage({"--png", "a", "--png", "b"}), "option --png given twice");
    EXPECT_EQ(UsageMessage({"-e", "(a)", "--layer", ""}),
              "option --layer needs a non-empty layer name");
    EXPECT_EQ(UsageMessage({"--help=yes"}), "option --help takes no value");
}

}  // namespace
