// CancelSharedEdges(edges): the cavity edges of one inserted point, three per removed triangle,
// in removal order. Going through the list in order, every live edge is cancelled together with
// the first later live edge that joins the same two points (in either direction): both are set
// to (-1, -1). What stays live is the cavity outline, in list order.
//
// Equivalently, the edges joining the same two points are paired off in list order (first with
// second, third with fourth, ...), which is how it is done here: one pass with a small hash
// table of the edges still waiting for their partner.
#pragma once

#include <vector>

#include "geom/edge.h"

namespace geom {

void CancelSharedEdges(std::vector<CEdge>& edges);

}  // namespace geom
