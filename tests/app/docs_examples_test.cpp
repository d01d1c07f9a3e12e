#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/lisp/read_forms.h"
#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "png_reader.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

struct Example {
    std::string command;
    std::string shown;  // the text block that follows it
    int line = 0;
};

// The ```sh blocks of a markdown text, each with the ```text block after it.
std::vector<Example> Examples(const std::string& markdown) {
    std::vector<Example> examples;
    std::istringstream lines(markdown);
    std::string line;
    int number = 0;
    std::string* collecting = nullptr;
    while (std::getline(lines, line)) {
        ++number;
        if (collecting != nullptr) {
            if (line == "```") {
                collecting = nullptr;
            } else {
                *collecting += line + "\n";
            }
        } else if (line == "```sh") {
            examples.push_back(Example{"", "", number});
            collecting = &examples.back().command;
        } else if (line == "```text" && !examples.empty()) {
            collecting = &examples.back().shown;
        }
    }
    return examples;
}

// What a terminal shows of the text: a carriage return starts its line afresh (kafcad erases a
// line it rewrites when its output is a terminal).
std::string Screen(const std::string& text) {
    std::string shown;
    std::size_t lineStart = 0;
    for (const char c : text) {
        if (c == '\r') {
            shown.resize(lineStart);
        } else {
            shown += c;
            if (c == '\n') {
                lineStart = shown.size();
            }
        }
    }
    return shown;
}

// Runs each example in a copy of docs/examples and compares what it shows with its text block;
// then hands the example and its folder to `check`, when given.
void ExpectExamplesShowWhatTheySay(
    const std::string& document, const std::vector<Example>& examples,
    const std::function<void(const Example&, const fs::path&)>& check = {}) {
    const fs::path docs = fs::path(KAF_SOURCE_DIR) / "docs";
    const TempFolder temp;
    const fs::path folder = temp.Path("run");
    for (const Example& example : examples) {
        fs::remove_all(folder);
        fs::copy(docs / "examples", folder, fs::copy_options::recursive);
        const KafcadRun run = RunShellCommand(example.command, folder.string());
        EXPECT_FALSE(example.shown.empty()) << document << ":" << example.line << " shows nothing";
        EXPECT_EQ(Screen(run.out + run.err), example.shown)
            << document << ":" << example.line << "\n"
            << example.command;
        if (check) {
            check(example, folder);
        }
    }
}

TEST(DocumentedExamples, EveryFunctionExampleRunsAndShowsWhatTheReferenceSays) {
    const fs::path docs = fs::path(KAF_SOURCE_DIR) / "docs";
    const std::string reference = FileText(docs / "functions.md");
    const std::vector<Example> examples = Examples(reference);
    ASSERT_GE(examples.size(), 10u);
    for (const char* function : {"(triangulate ",
                                 "(kaf-dct ",
                                 "(kaf-dct-pface ",
                                 "(kaf-dct-pfacemesh ",
                                 "(kaf-dct-pfacemesh-withloadcsv ",
                                 "(kaf-dct-subdmesh ",
                                 "(kaf-dct-subdmesh-aa ",
                                 "(kaf-dct-subdmesh-withloadcsv ",
                                 "(kaf-mergingCoplanarFacesOfSubMesh ",
                                 "(kaf-changeMeshColor ",
                                 "(kaf-cdt-subdmesh ",
                                 "(kaf-cdt-pfacemesh ",
                                 "(kaf-cdt-subdmesh-withloadcsv ",
                                 "(kaf-cdt-pfacemesh-withloadcsv ",
                                 "(kaf-profile ",
                                 "(kaf-sections ",
                                 "(kaf-isopach ",
                                 "(kaf-cdt-pface ",
                                 "(kaf-surfaceFaces ",
                                 "(kaf-contourLabels ",
                                 "(kaf-spotLevels "}) {
        bool used = false;
        for (const Example& example : examples) {
            used = used || example.command.find(function) != std::string::npos;
        }
        EXPECT_TRUE(used) << "no example calls " << function;
    }

    // "The 25 points as four meshes of at most 15 vertices", coloured green (0 128 0) at 10 m to
    // brown (139 69 19) at 20 m, the hue passing yellow (red = green) at about 16.3 m.
    EXPECT_NE(reference.find("The 25 points as four meshes of at most 15"), std::string::npos);
    bool coloured = false;
    ExpectExamplesShowWhatTheySay(
        "functions.md", examples, [&](const Example& example, const fs::path& folder) {
            if (example.command.find("--png coloured.png") == std::string::npos) {
                return;
            }
            coloured = true;
            const kafhost::DrawingSnapshot drawing =
                kafhost::loadDrawingFile((folder / "coloured.json").string());
            ASSERT_EQ(drawing.entities.size(), 4u);
            for (const kafhost::EntityInfo& mesh : drawing.entities) {
                EXPECT_LE(mesh.vertices.size(), 15u);
                ASSERT_EQ(mesh.vertexColours.size(), mesh.vertices.size());
                for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
                    const kafhost::Rgb& colour = mesh.vertexColours[i];
                    const double z = mesh.vertices[i][2];
                    if (z < 15.0 || z > 17.5) {
                        EXPECT_EQ(colour[1] > colour[0], z < 15.0)
                            << z << ": " << colour[0] << " " << colour[1];
                    }
                }
            }
            const Picture picture = ReadPng((folder / "coloured.png").string());
            EXPECT_EQ(picture.width, 400);
            EXPECT_EQ(picture.height, 400);
        });
    EXPECT_TRUE(coloured) << "no example draws coloured.png";
}

TEST(DocumentedExamples, KafcadManualExamplesRunAndShowWhatTheManualSays) {
    const std::vector<Example> examples =
        Examples(FileText(fs::path(KAF_SOURCE_DIR) / "docs" / "kafcad.md"));
    ASSERT_GE(examples.size(), 1u);
    ExpectExamplesShowWhatTheySay("kafcad.md", examples);
}

// Claims of the function reference's prose, checked on inputs of their own.

// A point list of count distinct random positions on a 40 x 40 integer grid (so that many share
// their x), as AutoLISP text.
std::string RandomPointList(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> coordinate(0, 39);
    std::set<std::pair<int, int>> positions;
    std::string list = "'(";
    while (static_cast<int>(positions.size()) < count) {
        const std::pair<int, int> position{coordinate(random), coordinate(random)};
        if (positions.insert(position).second) {
            list += "(" + std::to_string(position.first) + " " + std::to_string(position.second) +
                    " " + std::to_string(coordinate(random)) + ") ";
        }
    }
    return list + ")";
}

// "counter-clockwise seen from above, starting at the corner with the smallest x (of two such,
// the one with the smaller y)"
TEST(DocumentedClaims, KafDctTrianglesRunCounterClockwiseFromTheirLowestCorner) {
    const KafcadRun run = RunKafcadProcess({"-e", "(kaf-dct " + RandomPointList(300, 5) + ")"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<kafcad::Value> forms = kafcad::ReadForms(run.out);
    ASSERT_EQ(forms.size(), 1u);
    const std::vector<kafcad::Value>& triangles = forms[0].items();
    ASSERT_GT(triangles.size(), 500u);
    for (const kafcad::Value& triangle : triangles) {
        ASSERT_EQ(triangle.items().size(), 3u);
        std::vector<std::pair<double, double>> corners;
        for (const kafcad::Value& corner : triangle.items()) {
            corners.push_back({corner.items().at(0).asReal(), corner.items().at(1).asReal()});
        }
        const auto [a, b, c] = std::tuple(corners[0], corners[1], corners[2]);
        const double turn = (b.first - a.first) * (c.second - a.second) -
                            (b.second - a.second) * (c.first - a.first);
        EXPECT_GT(turn, 0.0);
        EXPECT_LT(a, b);
        EXPECT_LT(a, c);
    }
}

// "N is an estimate made before the split: the number of distinct points divided by
// maxPoints - 2, rounded up"
TEST(DocumentedClaims, SplitWritersAnnounceThePointsOverMaxPointsLessTwoRoundedUp) {
    for (const char* function : {"kaf-dct-pfacemesh", "kaf-dct-subdmesh"}) {
        for (const auto& [count, maxPoints] :
             {std::pair(8, 3), std::pair(60, 9), std::pair(61, 9), std::pair(200, 40)}) {
            const KafcadRun run =
                RunKafcadProcess({"--layer", "TIN", "-e",
                                  std::string("(") + function + " " + RandomPointList(count, 9) +
                                      " \"TIN\" " + std::to_string(maxPoints) + ")"});
            ASSERT_EQ(run.exitStatus, 0) << run.err;
            // The last announcement, "Mesh I/minN will be created...".
            const std::size_t announced = run.out.rfind("/min");
            ASSERT_NE(announced, std::string::npos) << function << " " << count << " " << maxPoints;
            EXPECT_EQ(std::stoi(run.out.substr(announced + 4)),
                      (count + maxPoints - 3) / (maxPoints - 2))
                << function << " " << count << " " << maxPoints;
        }
    }
}

}  // namespace
