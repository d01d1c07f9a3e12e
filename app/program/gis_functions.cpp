#include "app/program/gis_functions.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/gis/coordinate_system.h"
#include "app/gis/dem_points.h"
#include "app/gis/gis_library.h"
#include "app/gis/rasterize_triangles.h"
#include "app/gis/surface_triangles.h"
#include "app/gis/write_geotiff.h"
#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/terminal/escape_controls.h"
#include "kafhost/drawing_json.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/replace_file.h"

namespace kafcad {
namespace {

// Below every elevation a survey meets; lower still when a surface reaches it.
constexpr double kNodata = -9999.0;

// A line of its own on the command line, after whatever the module left open.
void Say(CommandLineOutput& commandLine, const std::string& text) {
    commandLine.EndLine();
    commandLine.Write(text + "\n");
}

std::string Count(std::size_t count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string Number(double value) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

// GDAL, loaded on the first call that needs it; a kafcad that cannot load it fails the call.
void NeedGdal() {
    try {
        LoadGisLibrary();
    } catch (const GisError& error) {
        throw LispError(error.what());
    }
}

// The drawing takes over the DEM's system when it has none; a different one is refused.
void TakeOver(const std::optional<CoordinateSystem>& dem, const std::string& path,
              CommandLineOutput& commandLine) {
    if (dem && AdoptCoordinateSystem(*dem, path)) {
        Say(commandLine,
            "Coordinate system " + Describe(*dem) + " taken over from " + EscapeControls(path));
    }
}

void WritePointFile(const std::vector<std::array<double, 3>>& points, const std::string& path) {
    kafhost::replaceFile(path, [&points](std::FILE* file) {
        std::string row;
        for (const std::array<double, 3>& point : points) {
            row = Number(point[0]) + ";" + Number(point[1]) + ";" + Number(point[2]) + "\n";
            if (std::fwrite(row.data(), 1, row.size(), file) != row.size()) {
                throw kafhost::DrawingFileError(std::string("cannot write: ") +
                                                std::strerror(errno));
            }
        }
    });
}

Value PointsOfDem(const std::vector<Value>& arguments, CommandLineOutput& commandLine) {
    CheckArgumentCount(arguments, 1, 3);
    const std::string path = FileNameArgument(arguments[0]);
    int step = 1;
    if (arguments.size() > 1 && !arguments[1].isNil()) {
        step = IntegerArgument(arguments[1]);
        if (step < 1) {
            BadArgumentValue("DEM step (a whole number of cells, 1 or more):", arguments[1]);
        }
    }
    const bool toFile = arguments.size() > 2 && !arguments[2].isNil();
    const std::string pointFile = toFile ? FileNameArgument(arguments[2]) : std::string();
    DemPoints dem;
    try {
        if (toFile) {
            kafhost::checkSaveTarget(pointFile);
        }
        dem = ReadDemPoints(path, step);
        TakeOver(dem.coordinateSystem, path, commandLine);
        if (toFile) {
            WritePointFile(dem.points, pointFile);
        }
    } catch (const GisError& error) {
        throw LispError(std::string("cannot read DEM ") + error.what());
    } catch (const kafhost::DrawingFileError& error) {
        throw LispError(std::string("cannot write point file ") + error.what());
    }
    Say(commandLine, "DEM " + EscapeControls(path) + ": " + std::to_string(dem.columns) + " x " +
                         std::to_string(dem.rows) + " cells" +
                         (step > 1 ? ", every " + std::to_string(step) + " cells" : "") + ": " +
                         Count(dem.points.size(), "point") + ", " +
                         Count(dem.skipped, "nodata cell") + " skipped");
    if (toFile) {
        return arguments[2];
    }
    std::vector<Value> points;
    points.reserve(dem.points.size());
    for (const std::array<double, 3>& point : dem.points) {
        points.push_back(Value::point(point[0], point[1], point[2]));
    }
    return Value::list(std::move(points));
}

// A corner (x y z) of a triangle given as a list.
std::array<double, 3> Corner(const Value& value) {
    const std::vector<Value>& numbers = ListArgument(value);
    if (numbers.size() != 3 || !numbers[0].isNumber() || !numbers[1].isNumber() ||
        !numbers[2].isNumber()) {
        BadArgumentValue("triangle corner (x y z):", value);
    }
    return {numbers[0].asNumber(), numbers[1].asNumber(), numbers[2].asNumber()};
}

// The surface argument: nil for the drawing's meshes, handles, or triangles.
std::vector<PlanTriangle> SurfaceArgument(const Value& value, kafhost::Host& host) {
    const std::vector<Value>& items = ListArgument(value);
    std::vector<std::wstring> handles;
    std::vector<PlanTriangle> triangles;
    for (const Value& item : items) {
        if (item.kind() == Value::Kind::kString) {
            handles.push_back(item.asString());
            continue;
        }
        const std::vector<Value>& corners = ListArgument(item);
        if (corners.size() != 3) {
            BadArgumentValue("surface: a handle or a triangle of three corners, not", item);
        }
        triangles.push_back({Corner(corners[0]), Corner(corners[1]), Corner(corners[2])});
    }
    if (!handles.empty() && !triangles.empty()) {
        throw LispError(
            "bad argument value: a surface is a list of handles or of triangles, "
            "not both");
    }
    if (triangles.empty()) {
        triangles = DrawingTriangles(host.snapshot(), handles);
    }
    return triangles;
}

Value GeoTiff(const std::vector<Value>& arguments, kafhost::Host& host,
              CommandLineOutput& commandLine) {
    CheckArgumentCount(arguments, 2, 3);
    const std::string path = FileNameArgument(arguments[0]);
    const double cellSize = NumberArgument(arguments[1]);
    if (!(cellSize > 0.0) || !std::isfinite(cellSize)) {
        BadArgumentValue("cell size (a positive number):", arguments[1]);
    }
    RasterGrid grid;
    std::size_t filled = 0;
    try {
        kafhost::checkSaveTarget(path);
        const std::vector<PlanTriangle> triangles =
            SurfaceArgument(arguments.size() > 2 ? arguments[2] : Value::nil(), host);
        double lowest = 0.0;
        for (const PlanTriangle& triangle : triangles) {
            for (const auto& corner : triangle) {
                lowest = std::min(lowest, corner[2]);
            }
        }
        const double nodata = lowest > kNodata ? kNodata : std::floor(lowest) - 10000.0;
        grid = RasterizeTriangles(triangles, cellSize, nodata);
        for (const double value : grid.values) {
            filled += value != nodata ? 1 : 0;
        }
        WriteGeoTiff(grid, DrawingCoordinateSystem(), path);
    } catch (const GisError& error) {
        const std::string reason = error.what();
        throw LispError("cannot write GeoTIFF " +
                        (reason.rfind(path + ": ", 0) == 0 ? reason : path + ": " + reason));
    } catch (const kafhost::DrawingFileError& error) {
        throw LispError(std::string("cannot write GeoTIFF ") + error.what());
    }
    const std::optional<CoordinateSystem>& system = DrawingCoordinateSystem();
    Say(commandLine, "GeoTIFF " + EscapeControls(path) + ": " + std::to_string(grid.columns) +
                         " x " + std::to_string(grid.rows) + " cells of " + Number(cellSize) +
                         ", " + std::to_string(filled) + " on the surface, nodata " +
                         Number(grid.nodata) + ", " +
                         (system ? system->label : std::string("no coordinate system")));
    return arguments[0];
}

Value SetCoordinateSystem(const std::vector<Value>& arguments) {
    CheckArgumentCount(arguments, 0, 1);
    std::optional<CoordinateSystem>& drawing = DrawingCoordinateSystem();
    if (!arguments.empty()) {
        if (arguments[0].isNil()) {
            drawing.reset();
        } else {
            NeedGdal();
            try {
                drawing =
                    ResolveCoordinateSystem(kafhost::wideToUtf8(StringArgument(arguments[0])));
            } catch (const GisError& error) {
                throw LispError(std::string("bad argument value: ") + error.what());
            }
        }
    }
    return drawing ? Value::string(kafhost::utf8ToWide(drawing->label)) : Value::nil();
}

void CheckGisAvailable() {
    if (!GisAvailable()) {
        throw LispError(kGisUnavailable);
    }
}

}  // namespace

void DefineGisFunctions(BuiltinLibrary& library, kafhost::Host& host,
                        CommandLineOutput& commandLine) {
    library.Define("kafcad-crs", [](const std::vector<Value>& arguments) {
        CheckGisAvailable();
        return SetCoordinateSystem(arguments);
    });
    library.Define("kafcad-dem-points", [&commandLine](const std::vector<Value>& arguments) {
        NeedGdal();
        return PointsOfDem(arguments, commandLine);
    });
    library.Define("kafcad-geotiff", [&host, &commandLine](const std::vector<Value>& arguments) {
        NeedGdal();
        return GeoTiff(arguments, host, commandLine);
    });
}

}  // namespace kafcad
