// CVector: a free vector in 3D (x, y, z). CrossProduct(b) gives this × b.
#pragma once

namespace geom {

class CVector {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    CVector() = default;
    CVector(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
    virtual ~CVector() = default;
    CVector(const CVector&) = default;
    CVector& operator=(const CVector&) = default;

    CVector CrossProduct(const CVector& b) const {
        return CVector(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
    }
};

}  // namespace geom
