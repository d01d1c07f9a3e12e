// GDAL is loaded (kafcad_gdal.so, beside kafcad) only when a GIS feature is first used. A kafcad
// that cannot load it refuses each GIS feature with the reason, writes nothing, and runs
// everything else as before.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "kafcad_process.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// (gdal-maps): "GDAL loaded" when the process has libgdal mapped, "no GDAL" otherwise.
constexpr const char* kMapsScript =
    "(defun gdal-maps (/ f l n)\n"
    "  (setq f (open \"/proc/self/maps\" \"r\") n 0)\n"
    "  (while (setq l (read-line f)) (if (wcmatch l \"*libgdal*\") (setq n (1+ n))))\n"
    "  (close f)\n"
    "  (if (> n 0) \"GDAL loaded\" \"no GDAL\"))\n";

// Three points, and their triangle as kafcad-geotiff takes it, for the shell's single quotes.
constexpr const char* kPoints = "(list (list 0 0 1) (list 10 0 2) (list 0 10 3))";
constexpr const char* kTriangles = "(list (list (list 0 0 1) (list 10 0 2) (list 0 10 3)))";

class GisLibrary : public ::testing::Test {
protected:
    KafcadRun Run(const std::string& command) const {
        return RunShellCommand(command, folder_.Folder().string());
    }
    // A copy of kafcad and its module in bin/, without the GIS library.
    std::string CopyOfKafcad() const {
        fs::create_directories(folder_.Path("bin"));
        fs::copy_file(KAFCAD_PATH, folder_.Path("bin") / "kafcad");
        fs::copy_file(KAF_MODULE_PATH, folder_.Path("bin") / "kaf20x64.arx");
        return (folder_.Path("bin") / "kafcad").string();
    }
    std::string LibraryCopy() const { return (folder_.Path("bin") / "kafcad_gdal.so").string(); }
    // What a refused GIS feature says when the library cannot be loaded for reason.
    std::string Unloadable(const std::string& reason) const {
        return "cannot load kafcad's GIS library " + LibraryCopy() + ": " + reason +
               " (DEM rasters, GeoTIFF, GeoPackage files and coordinate systems need it and GDAL)";
    }

    TempFolder folder_;
};

// The lines of the output that say whether GDAL is loaded, in order.
std::vector<std::string> GdalStates(const std::string& out) {
    std::vector<std::string> states;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("GDAL") != std::string::npos) {
            states.push_back(line);
        }
    }
    return states;
}

// Surfaces, contours and LandXML without a coordinate system need no GDAL; asking for the
// drawing's coordinate system or clearing it neither. Setting one loads it; --crs and a
// GeoPackage target load it before anything runs.
TEST_F(GisLibrary, GdalIsLoadedOnlyByTheFirstGisFeature) {
    folder_.Write("maps.lsp", kMapsScript);
    const KafcadRun run = Run(
        "kafcad --layer TIN --layer CONTOUR maps.lsp -e '(gdal-maps)' "
        "-e \"(setq m (kaf-dct-subdmesh '((0 0 10) (20 0 12) (0 20 14) (20 20 16)) \\\"TIN\\\"))\" "
        "-e '(kaf-contours m 1.0 0.0 \"CONTOUR\")' -e '(kafcad-save \"site.xml\")' "
        "-e '(kafcad-save \"site.dxf\")' -e '(kafcad-crs)' -e '(kafcad-crs nil)' -e '(gdal-maps)' "
        "-e '(kafcad-crs \"EPSG:25832\")' -e '(gdal-maps)'");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(GdalStates(run.out),
              (std::vector<std::string>{"\"no GDAL\"", "\"no GDAL\"", "\"GDAL loaded\""}))
        << run.out;
    EXPECT_TRUE(fs::exists(folder_.Path("site.xml")));

    for (const std::string options : {"--crs EPSG:25832", "--save site.gpkg"}) {
        const KafcadRun early = Run("kafcad " + options + " maps.lsp -e '(gdal-maps)'");
        EXPECT_EQ(early.exitStatus, 0) << early.err;
        EXPECT_EQ(early.out, "\"GDAL loaded\"\n") << options;
    }
    // A GIS function loads it too.
    const KafcadRun geotiff = Run(std::string("kafcad maps.lsp -e '(kafcad-geotiff \"s.tif\" 1 ") +
                                  kTriangles + ")' -e '(gdal-maps)'");
    EXPECT_EQ(GdalStates(geotiff.out), std::vector<std::string>{"\"GDAL loaded\""}) << geotiff.err;
}

// Without kafcad_gdal.so beside kafcad: each GIS feature fails as a refused function does (status
// 1, or 2 for an option or a drawing that needs it), saying what is missing, and nothing is
// written; the rest of kafcad is unaffected.
TEST_F(GisLibrary, WithoutTheLibraryGisFeaturesAreRefusedAndNothingIsWritten) {
    // A LandXML file that names its coordinate system, made by the whole kafcad.
    const KafcadRun made =
        Run(std::string("kafcad --crs EPSG:25832 --layer TIN -e '(kaf-dct-subdmesh ") + kPoints +
            " \"TIN\")' --save site.xml");
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    const std::string kafcad = CopyOfKafcad();
    const std::string missing =
        Unloadable("cannot open shared object file: No such file or directory");

    folder_.Write("earlier.tif", "the earlier file\n");
    struct Refusal {
        std::string arguments;
        int exitStatus;
        std::string out;
        std::string err;
    };
    const std::vector<Refusal> refusals = {
        {"-e '(kafcad-dem-points \"dem.tif\" 1 \"points.csv\")'", 1, "",
         "; error: " + missing + "\n"},
        // Asking for the drawing's coordinate system needs no GDAL.
        {"-e '(kafcad-crs)' -e '(kafcad-crs \"EPSG:25832\")'", 1, "nil\n",
         "; error: " + missing + "\n"},
        {std::string("-e '(kafcad-geotiff \"earlier.tif\" 1 ") + kTriangles + ")'", 1, "",
         "; error: " + missing + "\n"},
        // Options and drawings are refused before anything runs.
        {"--save out.gpkg -e '(princ \"ran\")'", 2, "",
         "kafcad: cannot save drawing out.gpkg: " + missing + "\n"},
        {"--crs EPSG:25832 -e '(princ \"ran\")'", 2, "", "kafcad: option --crs: " + missing + "\n"},
        {"--drawing site.xml -e '(princ \"ran\")'", 2, "",
         "kafcad: cannot load drawing site.xml: " + missing + "\n"},
    };
    for (const Refusal& refusal : refusals) {
        const KafcadRun run = Run(kafcad + " " + refusal.arguments);
        EXPECT_EQ(run.exitStatus, refusal.exitStatus) << refusal.arguments;
        EXPECT_EQ(run.out, refusal.out) << refusal.arguments;
        EXPECT_EQ(run.err, refusal.err) << refusal.arguments;
    }
    EXPECT_FALSE(fs::exists(folder_.Path("points.csv")));
    EXPECT_EQ(FileText(folder_.Path("earlier.tif")), "the earlier file\n");
    EXPECT_FALSE(fs::exists(folder_.Path("out.gpkg")));

    // Everything else: a surface saved as LandXML.
    const KafcadRun plain =
        Run(kafcad + " -e '(length (kaf-dct " + kPoints + "))' --save plain.xml");
    EXPECT_EQ(plain.exitStatus, 0) << plain.err;
    EXPECT_EQ(plain.out, "1\n");
    EXPECT_NE(FileText(folder_.Path("plain.xml")).find("<Surface"), std::string::npos);
}

// A file in the library's place that the system cannot load, one without the library's entry,
// the library of another build, and the library with GDAL missing: each is named with the system's
// reason.
TEST_F(GisLibrary, ALibraryThatCannotBeUsedIsNamedWithItsReason) {
    const std::string kafcad = CopyOfKafcad();
    const std::string call = kafcad + " -e '(kafcad-crs \"EPSG:25832\")'";

    folder_.Write("bin/kafcad_gdal.so", std::string(200, 'x'));
    KafcadRun run = Run(call);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "; error: " + Unloadable("invalid ELF header") + "\n");

    // The module is a library, but not this one.
    fs::remove(LibraryCopy());
    fs::copy_file(KAF_MODULE_PATH, LibraryCopy());
    run = Run(call);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "; error: " + Unloadable("it has no function kafcad_gdal_library") + "\n");

    // The library of another build of kafcad (its build stamp changed in place) is refused,
    // since the types it passes may differ from this kafcad's.
    std::string other = FileText(KAF_GIS_LIBRARY_PATH);
    const std::string stamp = KAF_GIS_BUILD_STAMP;
    const std::size_t stampAt = other.find(stamp);
    ASSERT_NE(stampAt, std::string::npos);
    other.replace(stampAt, stamp.size(), std::string(stamp.size(), stamp[0] == '0' ? '1' : '0'));
    fs::remove(LibraryCopy());
    folder_.Write("bin/kafcad_gdal.so", other);
    run = Run(call);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "; error: " + Unloadable("it belongs to another build of kafcad") + "\n");

    // The real library, its dependency on libgdal renamed in place (same length, so the file
    // stays a valid library) to one the system does not have: GDAL is missing.
    std::string library = FileText(KAF_GIS_LIBRARY_PATH);
    const std::size_t soname = library.find("libgdal.so.");
    ASSERT_NE(soname, std::string::npos);
    const std::string gone =
        "libgone" + library.substr(soname + 7, library.find('\0', soname) - soname - 7);
    for (std::size_t at = soname; at != std::string::npos; at = library.find("libgdal.so.", at)) {
        library.replace(at, 7, "libgone");
    }
    fs::remove(LibraryCopy());
    folder_.Write("bin/kafcad_gdal.so", library);
    run = Run(call);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: " +
                  Unloadable(gone + ": cannot open shared object file: No such file or directory") +
                  "\n");
    // Put back as it was, it loads.
    fs::remove(LibraryCopy());
    fs::copy_file(KAF_GIS_LIBRARY_PATH, LibraryCopy());
    run = Run(call);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "\"EPSG:25832\"\n");
}

}  // namespace
