// The drawing database: status values, open modes, handles and object ids, the working database
// with its block table and model space, iteration, the entity classes the module writes and
// reads, entity colours, and the host's status texts.
//
// Objects of the database are opened (getSymbolTable, getAt, getEntity, acdbOpenAcDbObject, or
// appendAcDbEntity, which leaves the new entity open for write) and must be closed again with
// close(). An object that was never appended is not in the database and is released with delete,
// or with close(), after which the host deletes it at the end of the current AutoLISP call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "arx/rx.h"

namespace Adesk {
using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using Boolean = bool;
}  // namespace Adesk

namespace Acad {
// The underlying type is fixed so that a status the host does not name is still a value of the
// type (acadErrorStatusText names it "eUnknownErrorStatus").
enum ErrorStatus : int {
    eOk = 0,
    eNotImplementedYet,
    eNotApplicable,
    eInvalidInput,
    eInvalidIndex,
    eKeyNotFound,
    eDuplicateKey,
    eNullObjectId,
    eNullEntityPointer,
    eUnknownHandle,
    eWasErased,
    eWasOpenedForWrite,
    eWasOpenedForRead,
    eNotOpenForRead,
    eNotOpenForWrite,
    eAtMaxReaders,
    eAlreadyInDb,
    eNotInDatabase,
    eNotThatKindOfClass,
    eWrongObjectType,
    eInvalidLayer,
    eOutOfMemory,
    eLockViolation,
    eOnLockedLayer,
    eNoDatabase,
    eInvalidOpenState,
    eNotInBlock,
    eDegenerateGeometry,
    eHadMultipleReaders,
    eWasNotErased,
};
}  // namespace Acad

// The host's name of a status, for example L"eKeyNotFound".
const ACHAR* acadErrorStatusText(Acad::ErrorStatus status);

namespace AcDb {
enum OpenMode { kNotOpen = -1, kForRead = 0, kForWrite = 1, kForNotify = 2 };
// How a 3D polyline runs between its vertices: straight, or fitted by a spline.
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
// Where a text sits against its alignment point: left, centred, right along the baseline (or
// aligned or fitted between the position and the alignment point, or centred in the middle).
enum TextHorzMode {
    kTextLeft = 0,
    kTextCenter = 1,
    kTextRight = 2,
    kTextAlign = 3,
    kTextMid = 4,
    kTextFit = 5
};
// And across it: on the baseline, or with the bottom, middle or top of its letters there.
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
}  // namespace AcDb

#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"

struct AcGePoint2d {
    double x = 0.0;
    double y = 0.0;
    AcGePoint2d() = default;
    AcGePoint2d(double x_, double y_) : x(x_), y(y_) {}
};

struct AcGePoint3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    AcGePoint3d() = default;
    AcGePoint3d(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
};

// A growable array: append gives the new element's index; length() the element count.
template <typename T>
class AcArray {
public:
    AcArray() = default;
    explicit AcArray(int physicalLength) {
        items_.reserve(physicalLength > 0 ? physicalLength : 0);
    }
    int append(const T& value) {
        items_.push_back(value);
        return static_cast<int>(items_.size()) - 1;
    }
    int length() const { return static_cast<int>(items_.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(items_.capacity()); }
    bool isEmpty() const { return items_.empty(); }
    AcArray& setLogicalLength(int n) {
        items_.resize(n > 0 ? n : 0);
        return *this;
    }
    AcArray& setPhysicalLength(int n) {
        if (n > physicalLength()) {
            items_.reserve(n);
        }
        return *this;
    }
    AcArray& removeAll() {
        items_.clear();
        return *this;
    }
    T& operator[](int i) { return items_[i]; }
    const T& operator[](int i) const { return items_[i]; }
    T& at(int i) { return items_.at(i); }
    const T& at(int i) const { return items_.at(i); }
    T* asArrayPtr() { return items_.data(); }
    const T* asArrayPtr() const { return items_.data(); }

private:
    std::vector<T> items_;
};

using AcGePoint3dArray = AcArray<AcGePoint3d>;

// A true colour (method kByColor with three channel bytes) or another colour method.
class AcCmEntityColor {
public:
    enum ColorMethod {
        kByLayer = 0xC0,
        kByBlock = 0xC1,
        kByColor = 0xC2,
        kByACI = 0xC3,
        kByPen = 0xC4,
        kForeground = 0xC5,
        kLayerOff = 0xC6,
        kLayerFrozen = 0xC7,
        kNone = 0xC8
    };
    AcCmEntityColor() = default;
    AcCmEntityColor(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);
    Acad::ErrorStatus setColorMethod(ColorMethod method);
    ColorMethod colorMethod() const;
    Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);
    Adesk::UInt8 red() const;
    Adesk::UInt8 green() const;
    Adesk::UInt8 blue() const;
    bool operator==(const AcCmEntityColor& other) const { return value_ == other.value_; }

private:
    Adesk::UInt32 value_ = static_cast<Adesk::UInt32>(kByLayer) << 24;
};

// A handle: a 64-bit number, written as hexadecimal text.
class AcDbHandle {
public:
    AcDbHandle() = default;
    explicit AcDbHandle(Adesk::UInt64 value) : value_(value) {}
    // Reads hexadecimal text; text that is not hexadecimal gives the null handle.
    explicit AcDbHandle(const ACHAR* text);
    bool isNull() const { return value_ == 0; }
    Adesk::UInt64 value() const { return value_; }
    // Writes the handle as upper-case hexadecimal digits without leading zeros into buffer
    // (at most 16 digits and the terminator: 17 characters are always enough).
    bool getIntoAsciiBuffer(ACHAR* buffer, std::size_t bufferLength = 17) const;
    bool operator==(const AcDbHandle& other) const { return value_ == other.value_; }
    bool operator!=(const AcDbHandle& other) const { return value_ != other.value_; }

private:
    Adesk::UInt64 value_ = 0;
};

class AcDbDatabase;
class AcDbObject;

// Identifies one object of one database for as long as the database lives.
class AcDbObjectId {
public:
    AcDbObjectId() = default;
    AcDbObjectId(AcDbDatabase* database, Adesk::UInt64 handle) : db_(database), handle_(handle) {}
    bool isNull() const { return handle_ == 0; }
    AcDbHandle handle() const { return AcDbHandle(handle_); }
    AcDbDatabase* database() const { return db_; }
    bool operator==(const AcDbObjectId& o) const { return db_ == o.db_ && handle_ == o.handle_; }
    bool operator!=(const AcDbObjectId& o) const { return !(*this == o); }
    static const AcDbObjectId kNull;

private:
    AcDbDatabase* db_ = nullptr;
    Adesk::UInt64 handle_ = 0;
};

// An object of the drawing. It lives in the database once added; the database then owns it and
// it is reached by opening it. Objects not in a database belong to whoever created them.
class AcDbObject : public AcRxObject {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    ~AcDbObject() override;

    AcDbObjectId objectId() const;
    AcDbObjectId ownerId() const;
    AcDbDatabase* database() const;
    void getAcDbHandle(AcDbHandle& handle) const;
    // Ends this opening of the object (read or write).
    Acad::ErrorStatus close();
    // Turns an opening for read into one for write (the only reader required).
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    Acad::ErrorStatus erase(bool erasing = true);
    bool isErased() const;
    bool isReadEnabled() const;
    bool isWriteEnabled() const;

protected:
    AcDbObject();

private:
    friend class AcDbDatabase;
    friend class kafhostObjectAccess;
    struct State;
    State* state_;
};

// An entity: an object with a layer that can stand in a block table record.
class AcDbEntity : public AcDbObject {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;

    // Sets the layer by name. Fails with eKeyNotFound for a layer the database does not have,
    // and for a hidden layer unless allowHiddenLayer. doSubents also sets the sub-entities.
    Acad::ErrorStatus setLayer(const ACHAR* layerName, bool doSubents = true,
                               bool allowHiddenLayer = false);
    // The layer name (valid while the entity lives).
    const ACHAR* layer() const;
    // Applies the database's defaults (current layer "0").
    void setDatabaseDefaults(AcDbDatabase* database = nullptr);

protected:
    AcDbEntity();
};

// A 3D face: four corners, each edge visible or not.
class AcDbFace : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbFace();
    // Three corners; the fourth equals the third.
    AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2,
             bool e0vis = true, bool e1vis = true, bool e2vis = true, bool e3vis = true);
    AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2,
             const AcGePoint3d& pt3, bool e0vis = true, bool e1vis = true, bool e2vis = true,
             bool e3vis = true);
    Acad::ErrorStatus getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const;
    Acad::ErrorStatus setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point);
    Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 index, bool& visible) const;

private:
    friend class kafhostObjectAccess;
    AcGePoint3d corners_[4];
    bool visible_[4] = {true, true, true, true};
};

// A point: one position in the drawing.
class AcDbPoint : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbPoint();
    explicit AcDbPoint(const AcGePoint3d& position);
    AcGePoint3d position() const;
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);

private:
    friend class kafhostObjectAccess;
    AcGePoint3d position_;
};

// A line: a straight segment from its start point to its end point.
class AcDbLine : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbLine();
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
    AcGePoint3d startPoint() const;
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
    AcGePoint3d endPoint() const;
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);

private:
    friend class kafhostObjectAccess;
    AcGePoint3d ends_[2];
};

// A single line of text: its string, the position of the start of its baseline, its height and
// rotation (radians, counter-clockwise from the x axis), and its alignment. A text that is not
// left-aligned on its baseline sits at its alignment point; the host then works the position
// out when the drawing is shown. The text style is the drawing's "Standard" style.
class AcDbText : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbText();
    // A height of 0 gives the drawing's default text height (2.5).
    AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId(),
             double height = 0.0, double rotation = 0.0);
    AcGePoint3d position() const;
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGePoint3d alignmentPoint() const;
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
    // Whether the text is left-aligned on its baseline (the alignment point is then unused).
    bool isDefaultAlignment() const;
    double height() const;
    // eInvalidInput for a height that is not positive and finite.
    Acad::ErrorStatus setHeight(double height);
    double rotation() const;
    Acad::ErrorStatus setRotation(double rotation);
    // The string (valid while the text lives and is not changed).
    const ACHAR* textStringConst() const;
    // eInvalidInput for a null string or one holding a line break.
    Acad::ErrorStatus setTextString(const ACHAR* text);
    AcDb::TextHorzMode horizontalMode() const;
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const;
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);

private:
    friend class kafhostObjectAccess;
    std::wstring text_;
    std::wstring style_ = L"Standard";
    AcGePoint3d position_;
    AcGePoint3d alignment_;
    double height_ = 2.5;
    double rotation_ = 0.0;
    AcDb::TextHorzMode horizontal_ = AcDb::kTextLeft;
    AcDb::TextVertMode vertical_ = AcDb::kTextBase;
};

class AcDbVertex : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;

protected:
    AcDbVertex();
};

// A vertex of a polyface mesh.
class AcDbPolyFaceMeshVertex : public AcDbVertex {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbPolyFaceMeshVertex();
    explicit AcDbPolyFaceMeshVertex(const AcGePoint3d& position);
    AcGePoint3d position() const;
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);

private:
    friend class kafhostObjectAccess;
    AcGePoint3d position_;
};

// A face of a polyface mesh: four vertex numbers (from 1 within the mesh; 0 for none).
class AcDbFaceRecord : public AcDbVertex {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbFaceRecord();
    AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3);
    Acad::ErrorStatus getVertexAt(Adesk::UInt16 faceIndex, Adesk::Int16& vertexNumber) const;
    Acad::ErrorStatus setVertexAt(Adesk::UInt16 faceIndex, Adesk::Int16 vertexNumber);

private:
    friend class kafhostObjectAccess;
    Adesk::Int16 vertices_[4] = {0, 0, 0, 0};
};

// Walks the sub-entities of an entity in order: for a polyface mesh its vertices
// (AcDbPolyFaceMeshVertex), then its face records (AcDbFaceRecord). objectId() is the id of the
// sub-entity at the position, to open with acdbOpenObject and close again; entity() is null for
// the sub-entities of a mesh in a drawing. The caller deletes the iterator.
class AcDbObjectIterator : public AcRxObject {
public:
    ~AcDbObjectIterator() override;
    // Whether the position is past the last sub-entity (or before the first, walking backwards).
    bool done() const;
    void step(bool backwards = false, bool skipDeleted = true);
    // To the first sub-entity, or to the last when atEnd.
    void start(bool atEnd = false);
    AcDbEntity* entity();
    AcDbObjectId objectId();

private:
    friend class AcDbPolyFaceMesh;
    AcDbObjectIterator() = default;
    AcDbObjectId* ids_ = nullptr;
    long count_ = 0;
    long position_ = 0;
};

// A polyface mesh: vertices, then face records, each appended as a sub-entity. Its vertex count
// is kept as a 16-bit signed number, as the host keeps it.
class AcDbPolyFaceMesh : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbPolyFaceMesh();
    ~AcDbPolyFaceMesh() override;
    // The mesh takes the sub-entity, which is then open for write until closed.
    Acad::ErrorStatus appendVertex(AcDbPolyFaceMeshVertex* vertex);
    Acad::ErrorStatus appendFaceRecord(AcDbFaceRecord* face);
    Adesk::Int16 numVertices() const;
    Adesk::Int16 numFaces() const;
    // An iterator over the vertices, then the face records (new; the caller deletes it).
    AcDbObjectIterator* vertexIterator() const;

#ifndef KAF_MODULE_CODE
    // Stand-in extras for reading the mesh back (the drawing's file formats and tests); the
    // module reads meshes through vertexIterator as it must in the real host.
    std::size_t vertexCount() const;
    std::size_t faceCount() const;
    AcGePoint3d vertexPosition(std::size_t index) const;
    void faceVertices(std::size_t index, Adesk::Int16 (&numbers)[4]) const;
#endif

    struct Storage;

private:
    friend class kafhostObjectAccess;
    Storage* storage_;
};

// A subdivision mesh: vertices, faces (a list of vertex count then vertex indices from 0 per
// face), a subdivision level and optional per-vertex colours.
class AcDbSubDMesh : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbSubDMesh();
    // Replaces the mesh. May throw a wide text when the host cannot build the mesh.
    Acad::ErrorStatus setSubDMesh(const AcGePoint3dArray& vertexArray,
                                  const AcArray<Adesk::Int32>& faceArray, int subDLevel);
    Acad::ErrorStatus getVertices(AcGePoint3dArray& vertexArray) const;
    Acad::ErrorStatus getFaceArray(AcArray<Adesk::Int32>& faceArray) const;
    Acad::ErrorStatus numOfVertices(int& count) const;
    Acad::ErrorStatus numOfFaces(int& count) const;
    Acad::ErrorStatus getVertexAt(int index, AcGePoint3d& vertex) const;
    Acad::ErrorStatus setVertexColorArray(const AcArray<AcCmEntityColor>& colours);
    Acad::ErrorStatus getVertexColorArray(AcArray<AcCmEntityColor>& colours) const;
    int subDLevel() const;

private:
    friend class kafhostObjectAccess;
    AcGePoint3dArray vertices_;
    AcArray<Adesk::Int32> faces_;
    AcArray<AcCmEntityColor> colours_;
    int level_ = 0;
};

class AcDbCurve : public AcDbEntity {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;

protected:
    AcDbCurve();
};

// A lightweight polyline: 2D vertices with bulges at one elevation, open or closed.
class AcDbPolyline : public AcDbCurve {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDbPolyline();
    unsigned int numVerts() const;
    // The vertex in world coordinates (z is the elevation).
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& point) const;
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& point) const;
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge = 0.0);
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    bool isClosed() const;
    void setClosed(bool closed);
    double elevation() const;
    void setElevation(double elevation);

private:
    friend class kafhostObjectAccess;
    std::vector<AcGePoint2d> points_;
    std::vector<double> bulges_;
    double elevation_ = 0.0;
    bool closed_ = false;
};

// A vertex of a 3D polyline.
class AcDb3dPolylineVertex : public AcDbVertex {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDb3dPolylineVertex();
    explicit AcDb3dPolylineVertex(const AcGePoint3d& position);
    AcGePoint3d position() const;
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);

private:
    friend class kafhostObjectAccess;
    AcGePoint3d position_;
};

// A 3D polyline: vertices each with its own elevation, joined by straight segments (simple
// type), open or closed. As a curve, vertex i lies at parameter i; the end parameter is the
// vertex count less one, or the vertex count when closed (the closing segment's end).
class AcDb3dPolyline : public AcDbCurve {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    AcDb3dPolyline();
    AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);
    // Adds a vertex at the end. The polyline keeps the vertex's position; the vertex object
    // stays open for write until the caller closes it (it is then the host's to delete).
    Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex);
    AcDb::Poly3dType polyType() const;
    bool isClosed() const;
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();
    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    // The point at the parameter: a vertex at a whole parameter, on the segment between.
    // eInvalidInput outside the start and end parameters.
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;

    // Stand-in extras for reading the polyline back (the drawing's file formats and tests).
    std::size_t vertexCount() const;
    AcGePoint3d vertexPosition(std::size_t index) const;

private:
    friend class kafhostObjectAccess;
    std::vector<AcGePoint3d> vertices_;
    AcDb::Poly3dType type_ = AcDb::k3dSimplePoly;
    bool closed_ = false;
};

class AcDbBlockTableRecord;
class AcDbEntity;

// Walks the entities of a block table record.
class AcDbBlockTableRecordIterator {
public:
    virtual ~AcDbBlockTableRecordIterator() = default;
    virtual void start(bool atBeginning = true, bool skipDeleted = true) = 0;
    virtual bool done() const = 0;
    virtual void step(bool forward = true, bool skipDeleted = true) = 0;
    virtual Acad::ErrorStatus getEntityId(AcDbObjectId& id) const = 0;
    virtual Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode = AcDb::kForRead,
                                        bool openErasedEntity = false) const = 0;
    // Positions the iterator on the entity; eInvalidInput when it is not one the iterator
    // visits (another record's, or erased while erased ones are skipped).
    virtual Acad::ErrorStatus seek(AcDbObjectId id) = 0;
};

class AcDbSymbolTableRecord : public AcDbObject {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    const ACHAR* getName() const;

protected:
    AcDbSymbolTableRecord();
};

// A block: model space, paper space or a block definition.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    // Adds the entity to the database in this block; it stays open for write.
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
};

class AcDbSymbolTable : public AcDbObject {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
};

class AcDbBlockTable : public AcDbSymbolTable {
public:
    static AcRxClass* desc();
    AcRxClass* isA() const override;
    // Opens the named block; erased blocks are refused unless openErasedRec.
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbBlockTableRecord*& record,
                            AcDb::OpenMode mode, bool openErasedRec = false) const;
    bool has(const ACHAR* entryName) const;
};

// A drawing.
class AcDbDatabase {
public:
    virtual ~AcDbDatabase() = default;
    virtual Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode) = 0;
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode) {
        return getSymbolTable(table, mode);
    }
    // The id of the object with the handle; eUnknownHandle when there is none and
    // createIfNotFound is false.
    virtual Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                              const AcDbHandle& handle,
                                              Adesk::UInt32 xRefId = 0) = 0;
};

class AcDbHostApplicationServices {
public:
    virtual ~AcDbHostApplicationServices() = default;
    virtual AcDbDatabase* workingDatabase() const = 0;
};
AcDbHostApplicationServices* acdbHostApplicationServices();

// Opens the object with the id. Fails for a null or unknown id (eNullObjectId, eUnknownHandle),
// an erased object unless openErased (eWasErased), and an object open in a conflicting mode.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

// Opens the object as a T; eNotThatKindOfClass (object left closed) when it is not one.
template <typename T>
Acad::ErrorStatus acdbOpenObject(T*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false) {
    object = nullptr;
    AcDbObject* opened = nullptr;
    const Acad::ErrorStatus es = acdbOpenAcDbObject(opened, id, mode, openErased);
    if (es != Acad::eOk) {
        return es;
    }
    if (!opened->isKindOf(T::desc())) {
        opened->close();
        return Acad::eNotThatKindOfClass;
    }
    object = static_cast<T*>(opened);
    return Acad::eOk;
}
