// Options: what one run of kafcad is asked to do.
//
// ParseOptions(arguments): reads the command-line arguments after the program name:
//   SCRIPT.lsp            evaluate the script file ("-": standard input); repeatable
//   -e, --eval EXPR       evaluate the expression and show its value; repeatable
//   --drawing FILE        start from this drawing instead of a new one
//   --layer NAME[=COLOUR[,LINETYPE[,LINEWEIGHT]]]
//                         add a layer, with its style (repeatable; LayerOption)
//   --save FILE           save the drawing after the scripts
//   --png FILE            render a top view of model space to a PNG picture after the scripts
//   --png-size WxH | N    the picture's size in pixels (N: N x N); default 1200 x 1200
//   --crs SYSTEM          the drawing's coordinate system ("EPSG:25832"), written into GeoTIFF,
//                         GeoPackage and LandXML files (refused where kafcad has no GDAL)
//   --module PATH         load this module instead of the one installed with kafcad
//   --help, --version
//   --                    every argument after it is a script
// Scripts and expressions run in the order given. Every option that takes a value also accepts
// --option=VALUE. Throws UsageError for an unknown option, a missing or bad value, or a repeated
// single-valued option.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/program/layer_styles.h"

namespace kafcad {

// One script file or -e expression, in command-line order.
struct Input {
    enum class Kind { kExpression, kScript };
    Kind kind;
    std::string text;  // the expression, or the script's path
    bool operator==(const Input& other) const { return kind == other.kind && text == other.text; }
};

struct PictureSize {
    int width = 1200;
    int height = 1200;
};

struct Options {
    std::optional<std::string> drawingPath;
    std::vector<LayerOption> layers;
    std::optional<std::string> savePath;
    std::optional<std::string> pngPath;
    PictureSize pngSize;
    std::optional<std::string> modulePath;
    std::optional<std::string> crs;
    std::vector<Input> inputs;
    bool help = false;
    bool version = false;
};

Options ParseOptions(const std::vector<std::string>& arguments);

// "WxH" or "N" (each 1 to 16384) as a picture size; throws UsageError otherwise.
PictureSize ParsePictureSize(const std::string& text);

}  // namespace kafcad
