// AcDb3dPolyline: 3D vertices joined by straight segments, open or closed; AcDb3dPolylineVertex.
#include <cmath>

#include "platform/db/object_state.h"

using namespace kafhost;

AcDb3dPolylineVertex::AcDb3dPolylineVertex() = default;
AcDb3dPolylineVertex::AcDb3dPolylineVertex(const AcGePoint3d& position) : position_(position) {}

AcGePoint3d AcDb3dPolylineVertex::position() const {
    return position_;
}

Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& position) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    position_ = position;
    return Acad::eOk;
}

AcDb3dPolyline::AcDb3dPolyline() = default;

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed)
    : vertices_(vertices.asArrayPtr(), vertices.asArrayPtr() + vertices.length()),
      type_(type),
      closed_(closed) {}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* vertex) {
    if (vertex == nullptr) {
        return Acad::eNullEntityPointer;
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (stateOf(*vertex).where != Residence::kNew) {
        return Acad::eAlreadyInDb;
    }
    vertices_.push_back(vertex->position());
    return Acad::eOk;
}

AcDb::Poly3dType AcDb3dPolyline::polyType() const {
    return type_;
}

bool AcDb3dPolyline::isClosed() const {
    return closed_;
}

Acad::ErrorStatus AcDb3dPolyline::makeClosed() {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    closed_ = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::makeOpen() {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    closed_ = false;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getStartParam(double& param) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    if (vertices_.empty()) {
        return Acad::eDegenerateGeometry;
    }
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getEndParam(double& param) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    if (vertices_.empty()) {
        return Acad::eDegenerateGeometry;
    }
    param = static_cast<double>(closed_ ? vertices_.size() : vertices_.size() - 1);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
    double end = 0.0;
    const Acad::ErrorStatus status = getEndParam(end);
    if (status != Acad::eOk) {
        return status;
    }
    if (!(param >= 0.0 && param <= end)) {
        return Acad::eInvalidInput;
    }
    const double whole = std::floor(param);
    const std::size_t i = static_cast<std::size_t>(whole);
    const AcGePoint3d& from = vertices_[i % vertices_.size()];
    if (param == whole) {
        point = from;
        return Acad::eOk;
    }
    const AcGePoint3d& to = vertices_[(i + 1) % vertices_.size()];
    const double t = param - whole;
    point = AcGePoint3d(from.x + t * (to.x - from.x), from.y + t * (to.y - from.y),
                        from.z + t * (to.z - from.z));
    return Acad::eOk;
}

std::size_t AcDb3dPolyline::vertexCount() const {
    return vertices_.size();
}

AcGePoint3d AcDb3dPolyline::vertexPosition(std::size_t index) const {
    return vertices_.at(index);
}
