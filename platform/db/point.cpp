// AcDbPoint: one position in the drawing.
#include "platform/db/object_state.h"

using namespace kafhost;

AcDbPoint::AcDbPoint() = default;

AcDbPoint::AcDbPoint(const AcGePoint3d& position) : position_(position) {}

AcGePoint3d AcDbPoint::position() const {
    return position_;
}

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& position) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    position_ = position;
    return Acad::eOk;
}
