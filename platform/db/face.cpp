// AcDbFace: a 3D face of four corners with edge visibility.
#include "platform/db/object_state.h"

using namespace kafhost;

AcDbFace::AcDbFace() = default;

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2,
                   bool e0vis, bool e1vis, bool e2vis, bool e3vis)
    : AcDbFace(pt0, pt1, pt2, pt2, e0vis, e1vis, e2vis, e3vis) {}

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2,
                   const AcGePoint3d& pt3, bool e0vis, bool e1vis, bool e2vis, bool e3vis)
    : corners_{pt0, pt1, pt2, pt3}, visible_{e0vis, e1vis, e2vis, e3vis} {}

Acad::ErrorStatus AcDbFace::getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const {
    if (index > 3) {
        return Acad::eInvalidIndex;
    }
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    point = corners_[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point) {
    if (index > 3) {
        return Acad::eInvalidIndex;
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    corners_[index] = point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::isEdgeVisibleAt(Adesk::UInt16 index, bool& visible) const {
    if (index > 3) {
        return Acad::eInvalidIndex;
    }
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    visible = visible_[index];
    return Acad::eOk;
}
