// AcDbLine: a straight segment between two points of the drawing.
#include "platform/db/object_state.h"

using namespace kafhost;

AcDbLine::AcDbLine() = default;

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : ends_{start, end} {}

AcGePoint3d AcDbLine::startPoint() const {
    return ends_[0];
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    ends_[0] = point;
    return Acad::eOk;
}

AcGePoint3d AcDbLine::endPoint() const {
    return ends_[1];
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    ends_[1] = point;
    return Acad::eOk;
}
