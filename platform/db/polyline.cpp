// AcDbPolyline: 2D vertices with bulges at one elevation, open or closed.
#include "platform/db/object_state.h"

using namespace kafhost;

AcDbCurve::AcDbCurve() = default;
AcDbPolyline::AcDbPolyline() = default;

unsigned int AcDbPolyline::numVerts() const {
    return static_cast<unsigned int>(points_.size());
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& point) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    if (index >= points_.size()) {
        return Acad::eInvalidIndex;
    }
    point = AcGePoint3d(points_[index].x, points_[index].y, elevation_);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& point) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    if (index >= points_.size()) {
        return Acad::eInvalidIndex;
    }
    point = points_[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    if (index >= bulges_.size()) {
        return Acad::eInvalidIndex;
    }
    bulge = bulges_[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& point,
                                            double bulge) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (index > points_.size()) {
        return Acad::eInvalidIndex;
    }
    points_.insert(points_.begin() + index, point);
    bulges_.insert(bulges_.begin() + index, bulge);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (index >= bulges_.size()) {
        return Acad::eInvalidIndex;
    }
    bulges_[index] = bulge;
    return Acad::eOk;
}

bool AcDbPolyline::isClosed() const {
    return closed_;
}
void AcDbPolyline::setClosed(bool closed) {
    closed_ = closed;
}
double AcDbPolyline::elevation() const {
    return elevation_;
}
void AcDbPolyline::setElevation(double elevation) {
    elevation_ = elevation;
}
