// AciColour(index): the screen colour of an AutoCAD colour index 1 ... 255: 1 to 9 the named
// colours (red, yellow, green, cyan, blue, magenta, white, dark and light grey), 10 to 249 the
// 24 hues 15 degrees apart, each in five shades from full to dark, pure and pale, and 250 to 255
// the greys. Index 7 is white as on a dark screen: a picture on a white ground draws it black.
// Other indices give black.
//
// LayerColour(layer): the layer's true colour when it has one, else its index's colour.
#pragma once

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

kafhost::Rgb AciColour(int index);
kafhost::Rgb LayerColour(const kafhost::LayerInfo& layer);

}  // namespace kafcad
