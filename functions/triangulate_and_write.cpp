#include "functions/triangulate_and_write.h"

#include "arxapi.h"
#include "host/pump_messages.h"

int WriteTriangulation(const std::vector<geom::CTriangle>& triangles,
                       const std::vector<geom::CVertex>& vertices, std::int32_t start,
                       std::int32_t pointCount, std::int32_t maxPoints, const wchar_t* layer,
                       const MeshWriters& writers, const wchar_t* timingLine,
                       std::vector<std::wstring>& handles) {
    const std::int32_t seconds = ElapsedMilliseconds(start, ReadClock()) / 1000;
    PumpMessagesThrottled();
    acutPrintf(timingLine, static_cast<double>(seconds));
    // Distinct points that span no triangle lie on one line; a mesh of them would have no faces.
    if (triangles.empty()) {
        acutPrintf(L"\nNo mesh created: all points lie on one line.\n");
        return RTNORM;
    }
    return pointCount <= maxPoints ? writers.single(triangles, vertices, layer, handles)
                                   : writers.split(triangles, vertices, layer, maxPoints, handles);
}
