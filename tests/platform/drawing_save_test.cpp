// Saving never loses the earlier drawing: both drawing file formats write a temporary file in the
// target's folder and rename it over the target, so a save that fails (a folder that is missing,
// not a folder or not writable, a target that is a folder, a disk that fills up midway) leaves
// the earlier file byte for byte and no temporary file behind. The temporary file is never a
// link planted beforehand; the saved file keeps the earlier one's permissions; a save onto a link
// writes the file it points to; what is not a regular file is refused; a name as long as the
// system allows is saved. A drawing the format cannot hold is refused before the file is touched.
//
// A full disk is simulated with a file size limit (RLIMIT_FSIZE, with SIGXFSZ ignored, so that a
// write past it fails with EFBIG), an unwritable folder with mode 0555; both in a child process,
// which also gives up root's rights first where the tests run as root.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <string>

#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;
using kafhost::DrawingFileError;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

struct Format {
    const char* name;
    const char* extension;
    void (*save)(const DrawingSnapshot&, const std::string&);
    std::string (*text)(const DrawingSnapshot&);
    // The refusal of Drawing(side) with a coordinate of its mesh that is not a number.
    const char* nanRefusal;
};

void PrintTo(const Format& format, std::ostream* os) {
    *os << format.name;
}

const Format kJson = {"Json", ".json", kafhost::saveDrawingFile, kafhost::drawingToJson,
                      "entity 2A vertices: not a finite number"};
const Format kDxf = {"Dxf", ".dxf", kafhost::saveDxfDrawingFile, kafhost::drawingToDxf,
                     "entity 2A: not a finite number"};

// A drawing with a subdivision mesh of side * side vertices on layer "TIN" and a 3D face.
DrawingSnapshot Drawing(int side) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"TIN", false}};
    EntityInfo mesh;
    mesh.handle = L"2A";
    mesh.type = EntityKind::kSubDMesh;
    mesh.layer = L"TIN";
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            mesh.vertices.push_back({column * 1.5, row * 2.25, 100.0 + (row * column) % 7});
            if (row > 0 && column > 0) {
                const int here = row * side + column;
                mesh.faces.push_back({here - side - 1, here - side, here});
                mesh.faces.push_back({here - side - 1, here, here - 1});
            }
        }
    }
    EntityInfo face;
    face.handle = L"2B";
    face.type = EntityKind::kFace;
    face.corners = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0}};
    drawing.entities = {mesh, face};
    drawing.nextHandle = 0x2C;
    return drawing;
}

// Runs body in a child process and gives its exit status (-1 when it did not exit normally).
int InChildProcess(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 2;
        try {
            status = body();
        } catch (...) {
        }
        ::_exit(status);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Child process results of a save that must fail.
constexpr int kSaveRefused = 0;
constexpr int kSaveSucceeded = 1;
constexpr int kNoRightsToGiveUp = 3;
constexpr int kOtherError = 4;

// The message of the save's DrawingFileError, or "(saved)".
std::string SaveError(const Format& format, const DrawingSnapshot& drawing,
                      const std::string& path) {
    try {
        format.save(drawing, path);
    } catch (const DrawingFileError& error) {
        return error.what();
    }
    return "(saved)";
}

int SaveThatMustFail(const Format& format, const DrawingSnapshot& drawing,
                     const std::string& path) {
    const std::string error = SaveError(format, drawing, path);
    if (error == "(saved)") {
        return kSaveSucceeded;
    }
    return error.rfind(path + ": cannot write", 0) == 0 ? kSaveRefused : kOtherError;
}

class DrawingSaveTest : public ::testing::TestWithParam<Format> {
protected:
    std::string Path(const std::string& stem) const {
        return (folder_ / (stem + GetParam().extension)).string();
    }
    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    TempFolder temp_;
    const fs::path& folder_ = temp_.Folder();
};

TEST_P(DrawingSaveTest, SaveReplacesTheEarlierFileWhole) {
    const Format& format = GetParam();
    const std::string path = Path("drawing");
    format.save(Drawing(3), path);
    EXPECT_EQ(FileText(path), format.text(Drawing(3)));
    format.save(Drawing(20), path);
    EXPECT_EQ(FileText(path), format.text(Drawing(20)));
    // A shorter drawing leaves nothing of the longer one behind.
    format.save(Drawing(2), path);
    EXPECT_EQ(FileText(path), format.text(Drawing(2)));
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_P(DrawingSaveTest, MissingFolderOrAFileNamedAsTheFolderCreatesNothing) {
    const Format& format = GetParam();
    std::ofstream(folder_ / "plain") << "not a folder";
    const std::string missing = (folder_ / "missing" / "d").string() + format.extension;
    EXPECT_EQ(SaveError(format, Drawing(3), missing),
              missing + ": cannot write: No such file or directory");
    const std::string underFile = (folder_ / "plain" / "d").string() + format.extension;
    EXPECT_EQ(SaveError(format, Drawing(3), underFile),
              underFile + ": cannot write: Not a directory");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(EntriesInFolder(), 1u);
    EXPECT_EQ(FileText(folder_ / "plain"), "not a folder");
}

TEST_P(DrawingSaveTest, DrawingTheFormatCannotHoldIsRefusedBeforeTheEarlierFileIsTouched) {
    const Format& format = GetParam();
    const std::string path = Path("drawing");
    format.save(Drawing(3), path);
    DrawingSnapshot broken = Drawing(3);
    broken.entities[0].vertices[1][2] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(SaveError(format, broken, path), path + ": " + format.nanRefusal);
    EXPECT_EQ(FileText(path), format.text(Drawing(3)));
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_P(DrawingSaveTest, TargetThatIsAFolderIsLeftAsItWas) {
    const Format& format = GetParam();
    const fs::path target = Path("drawing");
    fs::create_directories(target);
    std::ofstream(target / "inside") << "kept";
    EXPECT_EQ(SaveThatMustFail(format, Drawing(3), target.string()), kSaveRefused);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(FileText(target / "inside"), "kept");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_P(DrawingSaveTest, UnwritableFolderKeepsTheEarlierFile) {
    const Format& format = GetParam();
    const std::string path = Path("drawing");
    format.save(Drawing(3), path);
    const std::string earlier = FileText(path);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
    const int status = InChildProcess([&] {
        // Root writes into any folder: the save runs as "nobody" then.
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return kNoRightsToGiveUp;
        }
        return SaveThatMustFail(format, Drawing(20), path);
    });
    EXPECT_EQ(status, kSaveRefused);
    EXPECT_EQ(FileText(path), earlier);
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_P(DrawingSaveTest, DiskFullMidwayKeepsTheEarlierFileAndLeavesNoTemporaryFile) {
    const Format& format = GetParam();
    const std::string path = Path("drawing");
    format.save(Drawing(3), path);
    const std::string earlier = FileText(path);
    constexpr rlim_t kLimit = 16 * 1024;
    // Larger than the blocks the DXF writer writes (1 MiB), so that the write fails while the
    // mesh is being written, not on the last block.
    ASSERT_GT(format.text(Drawing(200)).size(), std::size_t{2} << 20);
    const int status = InChildProcess([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = kLimit;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return kNoRightsToGiveUp;
        }
        return SaveThatMustFail(format, Drawing(200), path);
    });
    EXPECT_EQ(status, kSaveRefused);
    EXPECT_EQ(FileText(path), earlier);
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_P(DrawingSaveTest, LinksPlantedAtTemporaryNamesAreNeverFollowed) {
    const Format& format = GetParam();
    const std::string path = Path("drawing");
    const fs::path victim = folder_ / "victim";
    std::ofstream(victim) << "victim";
    // The name an earlier version used, and names built the same way for nearby processes.
    for (pid_t pid = ::getpid() - 2; pid <= ::getpid() + 2; ++pid) {
        fs::create_symlink(victim, folder_ / ("." + fs::path(path).filename().string() + "." +
                                              std::to_string(pid) + ".tmp"));
    }
    format.save(Drawing(3), path);
    EXPECT_EQ(FileText(victim), "victim");
    EXPECT_EQ(FileText(path), format.text(Drawing(3)));
    EXPECT_EQ(EntriesInFolder(), 7u);
}

TEST_P(DrawingSaveTest, SaveKeepsPermissionsAndWritesThroughALink) {
    const Format& format = GetParam();
    const std::string path = Path("drawing");
    format.save(Drawing(2), path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = folder_ / "link";
    fs::create_symlink(fs::path(path).filename(), link);
    format.save(Drawing(3), link.string());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(FileText(path), format.text(Drawing(3)));
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntriesInFolder(), 2u);
    // A link to nothing is not followed into a new file.
    fs::create_symlink(folder_ / "missing", folder_ / "dangling");
    EXPECT_EQ(SaveThatMustFail(format, Drawing(3), (folder_ / "dangling").string()), kSaveRefused);
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_P(DrawingSaveTest, SomethingNotARegularFileIsRefusedAndKept) {
    const Format& format = GetParam();
    const fs::path pipe = folder_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const fs::path& target : {pipe, fs::path("/dev/null")}) {
        EXPECT_EQ(SaveError(format, Drawing(3), target.string()),
                  target.string() + ": cannot write: not a regular file");
    }
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_P(DrawingSaveTest, NameAsLongAsTheSystemAllowsIsSaved) {
    const Format& format = GetParam();
    const std::string extension = format.extension;
    const std::string path =
        (folder_ / (std::string(NAME_MAX - extension.size(), 'n') + extension)).string();
    format.save(Drawing(3), path);
    EXPECT_EQ(FileText(path), format.text(Drawing(3)));
    EXPECT_EQ(EntriesInFolder(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, DrawingSaveTest, ::testing::Values(kJson, kDxf),
                         [](const ::testing::TestParamInfo<Format>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
