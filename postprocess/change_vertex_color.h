// changeVertexColor(handles, z1, z2, colour1, colour2): gives every vertex of the subdivision
// meshes named by handles (in list order) a true colour by its elevation z: the ramp from colour1
// at z1 to colour2 at z2, interpolated in hue, saturation and lightness and extrapolated beyond
// its ends (t = (z - z1) / (z2 - z1); the hue as a plain number, so red to blue passes green).
// Channels are truncated toward zero and held within 0 to 255. Prints "\rMesh: %i of %i, Number
// of vertices: %i" per mesh and shows a status-bar meter "Please wait: " counting the meshes.
//
// Requires z1 != z2. Gives false when a handle does not lead to a model-space subdivision mesh:
// the meter is ended, "Object is not a SubDMesh!" is printed as a step-error line under
// "changeVertexColor" and the run stops there; meshes coloured before keep their colours.
//
// ColourMeshVertices(handles, colourOf): the same walk, meter, lines and failure, with each
// vertex's colour given by colourOf(z).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "postprocess/colour.h"

bool ColourMeshVertices(const std::vector<std::wstring>& handles,
                        const std::function<RgbColour(double)>& colourOf);

bool changeVertexColor(const std::vector<std::wstring>& handles, double z1, double z2,
                       const RgbColour& colour1, const RgbColour& colour2);
