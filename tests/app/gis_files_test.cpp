// DEM rasters, GeoTIFF, GeoPackage and coordinate systems in kafcad, read back with GDAL's own
// programs (gdalinfo, gdallocationinfo, ogrinfo) as a GIS user would.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "kafcad_process.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// An ESRI ASCII grid: rows from the top, the lower-left corner at (left, bottom).
struct Grid {
    int columns = 0;
    int rows = 0;
    double left = 0.0;
    double bottom = 0.0;
    double cell = 1.0;
    std::vector<double> values;  // row by row from the top; -9999 for nodata
    double At(int row, int column) const { return values[row * columns + column]; }
    double CentreX(int column) const { return left + (column + 0.5) * cell; }
    double CentreY(int row) const { return bottom + (rows - row - 0.5) * cell; }
};

std::string AsciiGrid(const Grid& grid) {
    std::ostringstream text;
    text.precision(17);
    text << "ncols " << grid.columns << "\nnrows " << grid.rows << "\nxllcorner " << grid.left
         << "\nyllcorner " << grid.bottom << "\ncellsize " << grid.cell << "\nNODATA_value -9999\n";
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            text << (column > 0 ? " " : "") << grid.At(row, column);
        }
        text << "\n";
    }
    return text.str();
}

// A hilly DEM in survey coordinates with values of many digits, nodata at a corner (outside the
// surface then) and inside (bridged by the surface).
Grid HillDem() {
    Grid grid{23, 17, 350000.0, 5800000.0, 2.0, {}};
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            double z = 412.0 + 3.7 * std::sin(column * 0.4) * std::cos(row * 0.3) + row * 0.173;
            z = std::round(z * 1000.0) / 1000.0;
            const bool corner = row == 0 && column < 2;
            const bool hole = row == 8 && column == 11;
            grid.values.push_back(corner || hole ? -9999.0 : z);
        }
    }
    return grid;
}

class GisFiles : public ::testing::Test {
protected:
    KafcadRun Run(const std::string& command) const {
        return RunShellCommand(command, folder_.Folder().string());
    }
    // A command that has to succeed; its standard output.
    std::string Output(const std::string& command) const {
        const KafcadRun run = Run(command);
        EXPECT_EQ(run.exitStatus, 0) << command << "\n" << run.out << run.err;
        return run.out;
    }
    nlohmann::json Info(const std::string& file) const {
        return nlohmann::json::parse(Output("gdalinfo -json " + file));
    }
    // The values gdallocationinfo reads at the given places (georeferenced coordinates).
    std::vector<double> ValuesAt(const std::string& file,
                                 const std::vector<std::pair<double, double>>& places) const {
        std::ostringstream input;
        input.precision(17);
        for (const auto& [x, y] : places) {
            input << x << " " << y << "\n";
        }
        folder_.Write("places.txt", input.str());
        std::istringstream lines(
            Output("gdallocationinfo -valonly -geoloc " + file + " < places.txt"));
        std::vector<double> values;
        for (std::string line; std::getline(lines, line);) {
            values.push_back(std::stod(line));
        }
        EXPECT_EQ(values.size(), places.size());
        return values;
    }
    void WriteDem(const std::string& name, const Grid& grid, const std::string& crs) const {
        folder_.Write("dem.asc", AsciiGrid(grid));
        Output("gdal_translate -q -ot Float64 " + (crs.empty() ? "" : "-a_srs " + crs) +
               " dem.asc " + name);
    }
    fs::path Path(const std::string& name) const { return folder_.Path(name); }

    TempFolder folder_;
};

// The DEM as points, triangulated by the module, written at the DEM's own cell size: the same
// grid, and every cell of the DEM holds its elevation again (the surface's vertices are the cell
// centres); the DEM's coordinate system is taken over into the GeoTIFF.
TEST_F(GisFiles, DemRoundTripGivesEveryCellItsElevationAndKeepsTheCoordinateSystem) {
    const Grid dem = HillDem();
    WriteDem("dem.tif", dem, "EPSG:25832");
    const KafcadRun run =
        Run("kafcad --layer TIN -e '(length (setq points (kafcad-dem-points \"dem.tif\")))' "
            "-e '(setq meshes (kaf-dct-subdmesh points \"TIN\"))' "
            "-e '(kafcad-geotiff \"surface.tif\" 2.0 meshes)'");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("Coordinate system EPSG:25832 (ETRS89 / UTM zone 32N) taken over from "
                           "dem.tif\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("DEM dem.tif: 23 x 17 cells: 388 points, 3 nodata cells skipped\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("GeoTIFF surface.tif: 23 x 17 cells of 2, 389 on the surface, nodata "
                           "-9999, EPSG:25832\n"),
              std::string::npos)
        << run.out;

    const nlohmann::json in = Info("dem.tif");
    const nlohmann::json out = Info("surface.tif");
    EXPECT_EQ(out["size"], in["size"]);
    EXPECT_EQ(out["geoTransform"], in["geoTransform"]);
    EXPECT_EQ(out["bands"][0]["type"], "Float64");
    EXPECT_EQ(out["bands"][0]["noDataValue"], -9999.0);
    EXPECT_NE(out["coordinateSystem"]["wkt"].get<std::string>().find("ID[\"EPSG\",25832]"),
              std::string::npos);

    std::vector<std::pair<double, double>> centres;
    for (int row = 0; row < dem.rows; ++row) {
        for (int column = 0; column < dem.columns; ++column) {
            centres.push_back({dem.CentreX(column), dem.CentreY(row)});
        }
    }
    const std::vector<double> original = ValuesAt("dem.tif", centres);
    const std::vector<double> surface = ValuesAt("surface.tif", centres);
    ASSERT_EQ(surface.size(), original.size());
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const int row = static_cast<int>(i) / dem.columns;
        const int column = static_cast<int>(i) % dem.columns;
        if (row == 0 && column < 2) {
            EXPECT_EQ(surface[i], -9999.0) << "outside the surface: " << row << " " << column;
        } else if (row == 8 && column == 11) {
            // The hole is bridged by triangles between its neighbours.
            const double low =
                std::min({dem.At(7, 11), dem.At(9, 11), dem.At(8, 10), dem.At(8, 12), dem.At(7, 10),
                          dem.At(9, 12), dem.At(7, 12), dem.At(9, 10)});
            const double high =
                std::max({dem.At(7, 11), dem.At(9, 11), dem.At(8, 10), dem.At(8, 12), dem.At(7, 10),
                          dem.At(9, 12), dem.At(7, 12), dem.At(9, 10)});
            EXPECT_GE(surface[i], low);
            EXPECT_LE(surface[i], high);
        } else {
            EXPECT_EQ(surface[i], original[i]) << "cell " << row << " " << column;
        }
    }
}

// R's volcano (87 x 61 cells of 10 m), written by R itself: through a point file and back, every
// cell's elevation as R has it; at half the cell size every new cell lies within the elevations
// of the four DEM cells around it.
TEST_F(GisFiles, VolcanoRoundTripThroughAPointFile) {
    if (Run("command -v Rscript").exitStatus != 0) {
        GTEST_SKIP() << "Rscript (Debian r-base-core) is not installed";
    }
    Output(
        "Rscript -e 'v <- volcano; "
        "cat(\"ncols\", ncol(v), \"\\nnrows\", nrow(v), \"\\nxllcorner 0\\nyllcorner 0\\n"
        "cellsize 10\\n\", file = \"volcano.asc\"); "
        "write.table(v, \"volcano.asc\", append = TRUE, row.names = FALSE, col.names = FALSE)'");
    Output("gdal_translate -q -a_srs EPSG:25832 volcano.asc volcano.tif");
    const KafcadRun run = Run(
        "kafcad --layer TIN -e '(kafcad-dem-points \"volcano.tif\" 1 \"volcano.csv\")' "
        "-e '(setq m (kaf-dct-subdmesh-withloadcsv (list \"volcano.csv\") \";\" \"TIN\" 0.0 0.0 "
        "1.0))' -e '(kafcad-geotiff \"same.tif\" 10 m)' -e '(kafcad-geotiff \"fine.tif\" 5 m)'");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("DEM volcano.tif: 61 x 87 cells: 5307 points, 0 nodata cells skipped"),
              std::string::npos)
        << run.out;

    std::vector<std::pair<double, double>> centres;
    for (int row = 0; row < 87; ++row) {
        for (int column = 0; column < 61; ++column) {
            centres.push_back({5.0 + 10.0 * column, 865.0 - 10.0 * row});
        }
    }
    const std::vector<double> original = ValuesAt("volcano.tif", centres);
    EXPECT_EQ(ValuesAt("same.tif", centres), original);
    EXPECT_EQ(*std::min_element(original.begin(), original.end()), 94.0);
    EXPECT_EQ(*std::max_element(original.begin(), original.end()), 195.0);

    // fine.tif: 5 m cells whose centres lie a quarter of a DEM cell from its centres.
    std::vector<std::pair<double, double>> fine;
    std::vector<std::pair<double, double>> bounds;
    for (int row = 0; row < 86; ++row) {
        for (int column = 0; column < 60; ++column) {
            const double around[4] = {original[row * 61 + column], original[row * 61 + column + 1],
                                      original[(row + 1) * 61 + column],
                                      original[(row + 1) * 61 + column + 1]};
            fine.push_back({5.0 + 10.0 * column + 2.5, 865.0 - 10.0 * row - 7.5});
            bounds.push_back(
                {*std::min_element(around, around + 4), *std::max_element(around, around + 4)});
        }
    }
    const std::vector<double> sampled = ValuesAt("fine.tif", fine);
    ASSERT_EQ(sampled.size(), fine.size());
    for (std::size_t i = 0; i < fine.size(); ++i) {
        EXPECT_GE(sampled[i], bounds[i].first) << fine[i].first << " " << fine[i].second;
        EXPECT_LE(sampled[i], bounds[i].second) << fine[i].first << " " << fine[i].second;
    }
}

// A plane is its own linear interpolation: any cell centre on a surface of a tilted plane, at a
// cell size that puts the centres between the vertices, reads the plane's height.
TEST_F(GisFiles, CellsBetweenVerticesReadTheSurfacesLinearInterpolation) {
    const KafcadRun run =
        Run("kafcad -e \"(kafcad-geotiff \\\"plane.tif\\\" 0.75 (kaf-dct '((0 0 10) (30 2 12.87) "
            "(7 25 9.075) (28 29 10.915) (15 13 10.655) (3 17 9.195))))\"");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const nlohmann::json info = Info("plane.tif");
    EXPECT_EQ(info["size"], nlohmann::json::parse("[40, 39]"));
    EXPECT_EQ(info["geoTransform"], nlohmann::json::parse("[0.0, 0.75, 0.0, 29.25, 0.0, -0.75]"));
    std::vector<std::pair<double, double>> centres;
    for (int row = 0; row < 39; ++row) {
        for (int column = 0; column < 40; ++column) {
            centres.push_back({0.375 + 0.75 * column, 29.25 - 0.375 - 0.75 * row});
        }
    }
    const std::vector<double> values = ValuesAt("plane.tif", centres);
    ASSERT_EQ(values.size(), centres.size());
    int inside = 0;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        if (values[i] != -9999.0) {
            ++inside;
            const auto [x, y] = centres[i];
            EXPECT_NEAR(values[i], 10.0 + 0.1 * x - 0.065 * y, 1e-12) << x << " " << y;
        }
    }
    EXPECT_GT(inside, 700);
    EXPECT_LT(inside, 1560);
}

// Contours, a breakline and the surface as GeoPackage layers that ogrinfo reads with their
// coordinate system; the LandXML of the same drawing names it, and kafcad reads it back.
TEST_F(GisFiles, GeoPackageLayersAndLandXmlCarryTheCoordinateSystem) {
    const KafcadRun run =
        Run("kafcad --crs EPSG:25832 --layer TIN --layer CONTOUR --layer KERB "
            "-e \"(setq m (kaf-dct-subdmesh '((0 0 10) (20 0 12) (0 20 14) (20 20 16) (10 10 13)) "
            "\\\"TIN\\\"))\" "
            "-e '(kaf-contours m 1.0 0.0 \"CONTOUR\")' "
            "-e \"(entmake '((0 . \\\"POLYLINE\\\") (8 . \\\"KERB\\\") (70 . 8) (10 1.0 1.0 10.5) "
            "(10 19.0 2.0 12.5)))\" "
            "-e '(kafcad-save \"site.xml\")' --save site.gpkg");
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    const std::string layers = Output("ogrinfo -ro -q site.gpkg");
    EXPECT_NE(layers.find("1: TIN (3D Polygon)"), std::string::npos) << layers;
    EXPECT_NE(layers.find("CONTOUR (3D Line String)"), std::string::npos) << layers;
    EXPECT_NE(layers.find("KERB (3D Line String)"), std::string::npos) << layers;
    for (const std::string layer : {"TIN", "CONTOUR", "KERB"}) {
        const std::string summary = Output("ogrinfo -ro -so site.gpkg " + layer);
        EXPECT_NE(summary.find("ID[\"EPSG\",25832]"), std::string::npos) << summary;
    }
    const std::string tin = Output("ogrinfo -ro -so site.gpkg TIN");
    EXPECT_NE(tin.find("Feature Count: 4\n"), std::string::npos) << tin;
    EXPECT_NE(tin.find("Extent: (0.000000, 0.000000) - (20.000000, 20.000000)"), std::string::npos)
        << tin;
    const std::string kerb = Output("ogrinfo -ro site.gpkg KERB");
    EXPECT_NE(kerb.find("LINESTRING Z (1 1 10.5,19 2 12.5)"), std::string::npos) << kerb;
    // Contours at 11 ... 15 m, each a level line with its elevation.
    const std::string contours = Output("ogrinfo -ro site.gpkg CONTOUR");
    for (const std::string level : {"11", "12", "13", "14", "15"}) {
        EXPECT_NE(contours.find("elevation (Real) = " + level + "\n"), std::string::npos)
            << contours;
    }

    const std::string landXml = FileText(Path("site.xml"));
    EXPECT_NE(landXml.find("<CoordinateSystem name=\"ETRS89 / UTM zone 32N\" epsgCode=\"25832\" "
                           "ogcWktCode=\"PROJCRS[&quot;ETRS89 / UTM zone 32N&quot;"),
              std::string::npos)
        << landXml;
    EXPECT_LT(landXml.find("</Units>"), landXml.find("<CoordinateSystem"));
    const KafcadRun back = Run("kafcad --drawing site.xml -e '(kafcad-crs)'");
    EXPECT_EQ(back.exitStatus, 0) << back.err;
    EXPECT_EQ(back.out, "\"EPSG:25832\"\n");
    EXPECT_EQ(back.err, "kafcad: site.xml: coordinate system EPSG:25832\n");
}

// What cannot be read, resolved or written is refused with its reason, and no file is left half
// written: an earlier file stays as it was, and no temporary file remains.
TEST_F(GisFiles, RefusalsSayWhyAndLeaveNothingHalfWritten) {
    folder_.Write("notaraster.tif", "this is no raster\n");
    const KafcadRun garbage = Run("kafcad -e '(kafcad-dem-points \"notaraster.tif\")'");
    EXPECT_EQ(garbage.exitStatus, 1);
    EXPECT_EQ(garbage.err,
              "; error: cannot read DEM notaraster.tif: not a raster GDAL can read (no driver "
              "recognises it)\n");
    const KafcadRun missing = Run("kafcad -e '(kafcad-dem-points \"gone.tif\")'");
    EXPECT_EQ(missing.err,
              "; error: cannot read DEM gone.tif: cannot open: No such file or directory\n");

    const KafcadRun unknown = Run("kafcad --crs EPSG:99999 --save out.gpkg -e 1");
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_NE(unknown.err.find("kafcad: option --crs: unknown coordinate system EPSG:99999: "),
              std::string::npos)
        << unknown.err;
    const KafcadRun file = Run("kafcad --crs /etc/hostname -e 1");
    EXPECT_EQ(file.exitStatus, 2);
    EXPECT_NE(file.err.find("unknown coordinate system /etc/hostname"), std::string::npos);
    const KafcadRun lispCrs =
        Run("kafcad -e '(kafcad-crs \"EPSG:31467\")' -e '(kafcad-crs \"x\")'");
    EXPECT_EQ(lispCrs.out, "\"EPSG:31467\"\n");
    EXPECT_NE(lispCrs.err.find("; error: bad argument value: unknown coordinate system x"),
              std::string::npos);

    // A DEM in another system than the drawing's.
    WriteDem("dem.tif", HillDem(), "EPSG:25832");
    const KafcadRun other = Run("kafcad --crs EPSG:4326 -e '(kafcad-dem-points \"dem.tif\")'");
    EXPECT_EQ(other.exitStatus, 1);
    EXPECT_EQ(other.err,
              "; error: cannot read DEM dem.tif: it is in EPSG:25832 (ETRS89 / UTM zone 32N), the "
              "drawing in EPSG:4326 (WGS 84); reproject it first (gdalwarp -t_srs EPSG:4326)\n");

    // A folder that is not there, a folder as the target, and a file size limit part way.
    const std::string triangles = "(kaf-dct (kafcad-dem-points \"dem.tif\"))";
    const KafcadRun noFolder =
        Run("kafcad -e '(kafcad-geotiff \"no/such.tif\" 1 " + triangles + ")' 2>&1 | tail -1");
    EXPECT_EQ(noFolder.out,
              "; error: cannot write GeoTIFF no/such.tif: cannot write: No such file or "
              "directory\n");
    fs::create_directory(Path("folder.tif"));
    const KafcadRun toFolder =
        Run("kafcad -e '(kafcad-geotiff \"folder.tif\" 1 " + triangles + ")' 2>&1 | tail -1");
    EXPECT_EQ(toFolder.out,
              "; error: cannot write GeoTIFF folder.tif: cannot write: is a folder\n");

    folder_.Write("earlier.tif", "the earlier file\n");
    folder_.Write("earlier.gpkg", "the earlier file\n");
    const KafcadRun limited =
        Run("ulimit -f 8; kafcad --layer TIN -e '(kaf-dct-subdmesh (kafcad-dem-points \"dem.tif\") "
            "\"TIN\")' -e '(kafcad-geotiff \"earlier.tif\" 0.125)' 2>&1 | tail -1; "
            "kafcad --layer TIN -e '(kaf-dct-subdmesh (kafcad-dem-points \"dem.tif\") \"TIN\")' "
            "--save earlier.gpkg 2>&1 | tail -1");
    EXPECT_EQ(limited.out,
              "; error: cannot write GeoTIFF earlier.tif: cannot write: File too large\n"
              "kafcad: cannot save drawing earlier.gpkg: cannot write: File too large\n");
    EXPECT_EQ(FileText(Path("earlier.tif")), "the earlier file\n");
    EXPECT_EQ(FileText(Path("earlier.gpkg")), "the earlier file\n");
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_.Folder())) {
        EXPECT_EQ(entry.path().filename().string().rfind(".kafcad-", 0), std::string::npos)
            << entry.path();
    }

    const KafcadRun read = Run("kafcad --drawing earlier.gpkg -e 1");
    EXPECT_EQ(read.exitStatus, 2);
    EXPECT_EQ(read.err,
              "kafcad: cannot load drawing earlier.gpkg: kafcad writes GeoPackage files but reads "
              "no drawing from them\n");
}

}  // namespace
