// AcDbLine: a straight segment between two points of the drawing.
#include "platform/db/object_state.h"

using namespace kafhost;

namespace {

// Moves one end of a line open for writing.
Acad::ErrorStatus setEnd(AcDbLine& line, int end, const AcGePoint3d& point) {
    if (!isWritable(line)) {
        return Acad::eNotOpenForWrite;
    }
    kafhostObjectAccess::lineEnds(line)[end] = point;
    return Acad::eOk;
}

}  // namespace

AcDbLine::AcDbLine() = default;

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : ends_{start, end} {}

AcGePoint3d AcDbLine::startPoint() const {
    return ends_[0];
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
    return setEnd(*this, 0, point);
}

AcGePoint3d AcDbLine::endPoint() const {
    return ends_[1];
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
    return setEnd(*this, 1, point);
}
