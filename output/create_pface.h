// CreatePFace(triangle): appends one 3D face to model space, its corners the triangle's vertex
// copies p1, p2, p3 (the fourth corner equals the third), all four edges visible, no property set.
// Opens and closes model space for this one face. Gives RTNORM when the face is in the drawing,
// RTERROR otherwise; failures print nothing.
#pragma once

#include "geom/kernel/triangle.h"

int CreatePFace(const geom::CTriangle& triangle);
