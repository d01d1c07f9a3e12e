#include "app/program/usage_text.h"

namespace kafcad {

std::string UsageText() {
    return "Usage: kafcad [OPTION]... [SCRIPT.lsp]...\n"
           "Loads the kaf module into a drawing and runs AutoLISP scripts that call its\n"
           "functions, in order, in one drawing. With no script and no -e it shows the\n"
           "\"Command: \" prompt when standard input is a terminal, and otherwise reads a script\n"
           "from standard input (also for the script name \"-\").\n"
           "\n"
           "  -e, --eval EXPR       evaluate EXPR and show its value, e.g.\n"
           "                        -e \"(kaf-dct '((0 0) (1 0) (0 1)))\"; repeatable\n"
           "  --drawing FILE        start from the drawing in FILE (default: a new drawing\n"
           "                        with layer \"0\" only)\n"
           "  --layer NAME[=COLOUR[,LINETYPE[,LINEWEIGHT]]]\n"
           "                        add layer NAME to the drawing, with its colour (1 to\n"
           "                        255 or #RRGGBB), linetype (Continuous, DASHED, HIDDEN,\n"
           "                        CENTER, DOT, DASHDOT, PHANTOM) and lineweight in mm;\n"
           "                        repeatable\n"
           "  --save FILE           save the drawing to FILE after the scripts\n"
           "                        (drawing files: DXF for a name ending in .dxf, LandXML\n"
           "                        surfaces for .xml, GeoPackage layers for .gpkg, else\n"
           "                        JSON)\n"
           "  --png FILE            render a top view of model space to the PNG picture FILE\n"
           "                        after the scripts\n"
           "  --png-size WxH|N      the picture's size in pixels (N: N x N; default 1200)\n"
           "  --crs SYSTEM          the drawing's coordinate system, e.g. EPSG:25832, written\n"
           "                        into GeoTIFF, GeoPackage and LandXML files\n"
           "  --module PATH         load the module from PATH (default: kaf20x64.arx beside\n"
           "                        kafcad or one folder up)\n"
           "  --help                show this help and exit\n"
           "  --version             show the version and exit\n"
           "\n"
           "Exit status: 0 on success; 1 when an evaluation fails (\"; error: ...\") or the\n"
           "drawing or picture cannot be written; 2 for a bad option, a script that cannot be\n"
           "read or is malformed, or a module or drawing that cannot be loaded.\n";
}

std::string VersionText() {
    return "kafcad " KAF_VERSION "\n";
}

}  // namespace kafcad
