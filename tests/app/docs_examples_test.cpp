#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "png_reader.h"

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
            if (line == "```")
                collecting = nullptr;
            else
                *collecting += line + "\n";
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
            if (c == '\n')
                lineStart = shown.size();
        }
    }
    return shown;
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DocumentedExamples, ScreenRendersRewrittenLines) {
    EXPECT_EQ(Screen("a\rbc\rd\nx\r\ry"), "d\ny");
}

TEST(DocumentedExamples, EveryFunctionExampleRunsAndShowsWhatTheReferenceSays) {
    const fs::path docs = fs::path(KAF_SOURCE_DIR) / "docs";
    const std::string reference = FileText(docs / "functions.md");
    const std::vector<Example> examples = Examples(reference);
    ASSERT_GE(examples.size(), 10u);
    for (const char* function :
         {"(triangulate ", "(kaf-dct ", "(kaf-dct-pface ", "(kaf-dct-pfacemesh ",
          "(kaf-dct-pfacemesh-withloadcsv ", "(kaf-dct-subdmesh ", "(kaf-dct-subdmesh-aa ",
          "(kaf-dct-subdmesh-withloadcsv ", "(kaf-mergingCoplanarFacesOfSubMesh ",
          "(kaf-changeMeshColor "}) {
        bool used = false;
        for (const Example& example : examples)
            used = used || example.command.find(function) != std::string::npos;
        EXPECT_TRUE(used) << "no example calls " << function;
    }

    const fs::path folder =
        fs::temp_directory_path() / ("kafcad_docs_" + std::to_string(::getpid()));
    for (const Example& example : examples) {
        fs::remove_all(folder);
        fs::copy(docs / "examples", folder, fs::copy_options::recursive);
        const KafcadRun run = RunShellCommand(example.command, folder.string());
        EXPECT_FALSE(example.shown.empty()) << "functions.md:" << example.line << " shows nothing";
        EXPECT_EQ(Screen(run.out + run.err), example.shown)
            << "functions.md:" << example.line << "\n"
            << example.command;
    }
    fs::remove_all(folder);
}

TEST(DocumentedExamples, ColourExampleDrawsItsPicture) {
    const fs::path docs = fs::path(KAF_SOURCE_DIR) / "docs";
    for (const Example& example : Examples(FileText(docs / "functions.md"))) {
        if (example.command.find("--png coloured.png") == std::string::npos)
            continue;
        const fs::path folder =
            fs::temp_directory_path() / ("kafcad_docs_png_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::copy(docs / "examples", folder, fs::copy_options::recursive);
        const KafcadRun run = RunShellCommand(example.command, folder.string());
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        const kafhost::DrawingSnapshot drawing =
            kafhost::loadDrawingFile((folder / "coloured.json").string());
        ASSERT_FALSE(drawing.entities.empty());
        for (const kafhost::EntityInfo& mesh : drawing.entities) {
            ASSERT_EQ(mesh.vertexColors.size(), mesh.vertices.size());
            for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
                // Green (0 128 0) at 10 m, brown (139 69 19) at 20 m; the hue passes yellow
                // (red = green) at about 16.3 m.
                const kafhost::Rgb& colour = mesh.vertexColors[i];
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
        fs::remove_all(folder);
        return;
    }
    ADD_FAILURE() << "no example draws coloured.png";
}

}  // namespace
