// AcDbSubDMesh: vertices, a face list (count, then that many vertex indices, per face), a
// subdivision level and per-vertex colours.
#include "platform/db/object_state.h"
#include "platform/db/prepare_pages.h"
#include "platform/host/impl.h"

using namespace kafhost;

namespace {

constexpr int kMaxSubDLevel = 4;

// Every face: a count of at least 3, then that many indices of existing vertices, with nothing
// left over.
bool isValidFaceList(const AcArray<Adesk::Int32>& faces, int vertexCount) {
    const int length = faces.length();
    int i = 0;
    while (i < length) {
        const Adesk::Int32 count = faces[i];
        if (count < 3 || count > length - i - 1) {
            return false;
        }
        for (int k = 1; k <= count; ++k) {
            const Adesk::Int32 index = faces[i + k];
            if (index < 0 || index >= vertexCount) {
                return false;
            }
        }
        i += count + 1;
    }
    return true;
}

// target = source. Room the copy needs anew is made present in one step before it is written.
template <typename T>
void copyArray(AcArray<T>& target, const AcArray<T>& source) {
    if (target.physicalLength() < source.length()) {
        target.removeAll();
        target.setPhysicalLength(source.length());
        preparePagesForWriting(target.asArrayPtr(),
                               static_cast<std::size_t>(source.length()) * sizeof(T));
    }
    target = source;
}

}  // namespace

AcDbSubDMesh::AcDbSubDMesh() = default;

Acad::ErrorStatus AcDbSubDMesh::setSubDMesh(const AcGePoint3dArray& vertexArray,
                                            const AcArray<Adesk::Int32>& faceArray, int subDLevel) {
    if (injectFault(HostCall::kSetSubDMesh)) {
        throw L"The mesh could not be built: out of memory";
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (subDLevel < 0 || subDLevel > kMaxSubDLevel ||
        !isValidFaceList(faceArray, vertexArray.length())) {
        return Acad::eInvalidInput;
    }
    copyArray(vertices_, vertexArray);
    copyArray(faces_, faceArray);
    level_ = subDLevel;
    colours_.removeAll();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertices(AcGePoint3dArray& vertexArray) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    vertexArray = vertices_;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getFaceArray(AcArray<Adesk::Int32>& faceArray) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    faceArray = faces_;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfVertices(int& count) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    count = vertices_.length();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfFaces(int& count) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    count = 0;
    for (int i = 0; i < faces_.length(); i += faces_[i] + 1) {
        ++count;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertexAt(int index, AcGePoint3d& vertex) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    if (index < 0 || index >= vertices_.length()) {
        return Acad::eInvalidIndex;
    }
    vertex = vertices_[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::setVertexColorArray(const AcArray<AcCmEntityColor>& colours) {
    Acad::ErrorStatus status;
    if (injectFault(HostCall::kSetVertexColorArray, status)) {
        return status;
    }
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (colours.length() != vertices_.length()) {
        return Acad::eInvalidInput;
    }
    copyArray(colours_, colours);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertexColorArray(AcArray<AcCmEntityColor>& colours) const {
    if (!isReadable(*this)) {
        return Acad::eNotOpenForRead;
    }
    colours = colours_;
    return Acad::eOk;
}

int AcDbSubDMesh::subDLevel() const {
    return level_;
}
