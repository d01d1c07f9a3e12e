// Layer colours, linetypes and lineweights, from the command line and from AutoLISP.
//
// LayerOption(text): the value of --layer: NAME, or NAME=COLOUR[,LINETYPE[,LINEWEIGHT]]. DXF
//   layer names cannot hold "=", so the first "=" ends the name. COLOUR is an AutoCAD colour
//   index 1 ... 255 or a true colour #RRGGBB; LINETYPE one kafcad writes (dxfLinetypeName);
//   LINEWEIGHT in millimetres, one of AutoCAD's (0.00 0.05 0.09 0.13 0.15 0.18 0.20 0.25 0.30
//   0.35 0.40 0.50 0.53 0.60 0.70 0.80 0.90 1.00 1.06 1.20 1.40 1.58 2.00 2.11). Throws
//   UsageError naming what is wrong.
// ApplyLayerOption(host, option): adds the layer when the drawing lacks it; a style given is
//   then set (a layer the drawing has keeps its style when none is given).
// DefineLayerFunctions(library, host):
//   (kafcad-layer "NAME" colour [linetype [lineweight]])  adds the layer when missing and sets
//   its colour (an index 1 ... 255, or a list of red, green and blue 0 ... 255), linetype
//   (default "Continuous") and lineweight (millimetres as above; default: the drawing's); gives
//   the name. Bad values are LispErrors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/lisp/builtins/library.h"
#include "kafhost/host.h"

namespace kafcad {

// A layer's colour, true colour, linetype and lineweight (the name is not used).
using LayerStyle = kafhost::LayerInfo;

struct LayerOption {
    std::string name;
    std::optional<LayerStyle> style;
};

LayerOption ParseLayerOption(const std::string& text);
void ApplyLayerOption(kafhost::Host& host, const LayerOption& option);
void DefineLayerFunctions(BuiltinLibrary& library, kafhost::Host& host);

}  // namespace kafcad
