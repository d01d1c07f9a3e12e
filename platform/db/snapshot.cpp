// The drawing as plain values: layers, snapshots and entity descriptions, adding entities from
// descriptions, rebuilding a drawing from a snapshot, and erasing objects.
#include <cmath>
#include <stdexcept>
#include <type_traits>

#include "kafhost/utf8_to_wide.h"
#include "platform/db/object_state.h"
#include "platform/db/polyface_storage.h"
#include "platform/db/prepare_pages.h"
#include "platform/host/impl.h"

namespace kafhost {
namespace {

using Access = kafhostObjectAccess;

constexpr const wchar_t* kNoRoomForHandles = L"kafcad takes handles up to FFFFFFFF00000000";

constexpr int kMaxSubDLevel = 4;

const wchar_t* spaceName(std::size_t blockIndex) {
    return blockIndex == Database::kModelSpace ? L"model" : L"paper";
}

Point3 toPoint3(const AcGePoint3d& p) {
    return Point3{p.x, p.y, p.z};
}
AcGePoint3d toAcGe(const Point3& p) {
    return AcGePoint3d(p[0], p[1], p[2]);
}

// Room for count items in an empty list about to be filled whole, its pages made present at once.
template <typename T>
void reserveWhole(std::vector<T>& items, std::size_t count) {
    items.reserve(count);
    preparePagesForWriting(items.data(), count * sizeof(T));
}

// How describe() gives the faces of a subdivision mesh: copied, or read in place.
enum class MeshFaces { kCopied, kInPlace };

EntityInfo describe(AcDbEntity& entity, std::size_t blockIndex,
                    MeshFaces meshFaces = MeshFaces::kCopied) {
    const ObjectState& state = stateOf(entity);
    EntityInfo info;
    info.handle = handleText(state.handle);
    // A block holds entities of the kinds only (appendAcDbEntity refuses vertices).
    if (!entityKindNamed(entity.isA()->name(), info.type)) {
        throw std::logic_error("a block holds an entity of no known kind");
    }
    info.space = spaceName(blockIndex);
    info.layer = state.layer;
    info.colorIndex = state.colorIndex;
    info.trueColor = state.trueColor;
    info.erased = state.erased;
    if (entity.isA() == AcDbFace::desc()) {
        auto& face = static_cast<AcDbFace&>(entity);
        for (int i = 0; i < 4; ++i) {
            info.corners.push_back(toPoint3(Access::faceCorners(face)[i]));
            info.edgeVisible.push_back(Access::faceEdgeVisibility(face)[i]);
        }
    } else if (entity.isA() == AcDbPolyFaceMesh::desc()) {
        const AcDbPolyFaceMesh::Storage& storage =
            Access::storage(static_cast<AcDbPolyFaceMesh&>(entity));
        info.vertices.reserve(storage.vertices.size());
        for (const AcGePoint3d& vertex : storage.vertices) {
            info.vertices.push_back(toPoint3(vertex));
        }
        info.faces.reserve(storage.faces.size());
        for (const auto& face : storage.faces) {
            info.faces.push_back({face[0], face[1], face[2], face[3]});
        }
    } else if (entity.isA() == AcDbSubDMesh::desc()) {
        auto& mesh = static_cast<AcDbSubDMesh&>(entity);
        const AcGePoint3dArray& vertices = Access::subDVertices(mesh);
        reserveWhole(info.vertices, static_cast<std::size_t>(vertices.length()));
        for (int i = 0; i < vertices.length(); ++i) {
            info.vertices.push_back(toPoint3(vertices[i]));
        }
        const AcArray<Adesk::Int32>& faces = Access::subDFaces(mesh);
        static_assert(std::is_same<Adesk::Int32, int>::value, "face lists are read as int");
        if (meshFaces == MeshFaces::kInPlace) {
            info.faceList = faces.asArrayPtr();
            info.faceListSize = static_cast<std::size_t>(faces.length());
        } else {
            for (int i = 0; i < faces.length(); i += faces[i] + 1) {
                info.faces.emplace_back(faces.asArrayPtr() + i + 1,
                                        faces.asArrayPtr() + i + 1 + faces[i]);
            }
        }
        const AcArray<AcCmEntityColor>& colours = Access::subDColours(mesh);
        reserveWhole(info.vertexColours, static_cast<std::size_t>(colours.length()));
        for (int i = 0; i < colours.length(); ++i) {
            info.vertexColours.push_back(
                Rgb{colours[i].red(), colours[i].green(), colours[i].blue()});
        }
        info.subDLevel = Access::subDLevel(mesh);
    } else if (entity.isA() == AcDbPolyline::desc()) {
        auto& line = static_cast<AcDbPolyline&>(entity);
        for (const AcGePoint2d& point : Access::polylinePoints(line)) {
            info.points.push_back(Point2{point.x, point.y});
        }
        info.bulges = Access::polylineBulges(line);
        info.elevation = Access::polylineElevation(line);
        info.closed = Access::polylineClosed(line);
    } else if (entity.isA() == AcDb3dPolyline::desc()) {
        auto& line = static_cast<AcDb3dPolyline&>(entity);
        for (const AcGePoint3d& vertex : Access::polyline3dVertices(line)) {
            info.vertices.push_back(toPoint3(vertex));
        }
        info.closed = Access::polyline3dClosed(line);
    } else if (entity.isA() == AcDbPoint::desc()) {
        info.position = toPoint3(Access::pointPosition(static_cast<AcDbPoint&>(entity)));
    } else if (entity.isA() == AcDbLine::desc()) {
        const AcGePoint3d* ends = Access::lineEnds(static_cast<AcDbLine&>(entity));
        info.corners = {toPoint3(ends[0]), toPoint3(ends[1])};
    } else if (entity.isA() == AcDbText::desc()) {
        auto& text = static_cast<AcDbText&>(entity);
        info.position = toPoint3(Access::textPosition(text));
        info.alignmentPoint = toPoint3(Access::textAlignment(text));
        info.text = Access::textString(text);
        info.textStyle = Access::textStyle(text);
        info.height = Access::textHeight(text);
        info.rotation = Access::textRotation(text);
        info.horizontalMode = Access::textHorizontal(text);
        info.verticalMode = Access::textVertical(text);
    }
    return info;
}

struct Failure {
    std::wstring text;
};

void require(bool condition, const std::wstring& text) {
    if (!condition) {
        throw Failure{text};
    }
}

std::unique_ptr<AcDbEntity> makeFace(const EntityInfo& info) {
    require(info.corners.size() == 3 || info.corners.size() == 4,
            L"a 3D face needs 3 or 4 corners");
    require(info.edgeVisible.empty() || info.edgeVisible.size() == 4,
            L"a 3D face needs 4 edge flags or none");
    const auto& c = info.corners;
    auto face = std::make_unique<AcDbFace>(toAcGe(c[0]), toAcGe(c[1]), toAcGe(c[2]),
                                           toAcGe(c[c.size() - 1]));
    for (std::size_t i = 0; i < info.edgeVisible.size(); ++i) {
        Access::faceEdgeVisibility(*face)[i] = info.edgeVisible[i];
    }
    return face;
}

std::unique_ptr<AcDbEntity> makePolyFaceMesh(const EntityInfo& info) {
    auto mesh = std::make_unique<AcDbPolyFaceMesh>();
    AcDbPolyFaceMesh::Storage& storage = Access::storage(*mesh);
    for (const Point3& vertex : info.vertices) {
        storage.vertices.push_back(toAcGe(vertex));
    }
    const long long vertexCount = static_cast<long long>(info.vertices.size());
    for (const std::vector<int>& face : info.faces) {
        require(!face.empty() && face.size() <= 4, L"a face record needs 1 to 4 vertex numbers");
        std::array<Adesk::Int16, 4> numbers{0, 0, 0, 0};
        for (std::size_t i = 0; i < face.size(); ++i) {
            require(face[i] >= -32768 && face[i] <= 32767 &&
                        (face[i] < 0 ? -static_cast<long long>(face[i]) : face[i]) <= vertexCount,
                    L"a face record names a vertex the mesh does not have");
            numbers[i] = static_cast<Adesk::Int16>(face[i]);
        }
        storage.faces.push_back(numbers);
    }
    return mesh;
}

std::unique_ptr<AcDbEntity> makeSubDMesh(const EntityInfo& info) {
    auto mesh = std::make_unique<AcDbSubDMesh>();
    const int vertexCount = static_cast<int>(info.vertices.size());
    AcGePoint3dArray& vertices = Access::subDVertices(*mesh);
    for (const Point3& vertex : info.vertices) {
        vertices.append(toAcGe(vertex));
    }
    AcArray<Adesk::Int32>& faces = Access::subDFaces(*mesh);
    for (const std::vector<int>& face : info.faces) {
        require(face.size() >= 3, L"a mesh face needs at least 3 vertices");
        faces.append(static_cast<Adesk::Int32>(face.size()));
        for (const int index : face) {
            require(index >= 0 && index < vertexCount,
                    L"a mesh face names a vertex the mesh does not have");
            faces.append(index);
        }
    }
    require(info.vertexColours.empty() || info.vertexColours.size() == info.vertices.size(),
            L"a mesh needs one colour per vertex or none");
    for (const Rgb& rgb : info.vertexColours) {
        for (const int channel : rgb) {
            require(channel >= 0 && channel <= 255, L"a colour channel is not 0 to 255");
        }
        Access::subDColours(*mesh).append(AcCmEntityColor(static_cast<Adesk::UInt8>(rgb[0]),
                                                          static_cast<Adesk::UInt8>(rgb[1]),
                                                          static_cast<Adesk::UInt8>(rgb[2])));
    }
    require(info.subDLevel >= 0 && info.subDLevel <= kMaxSubDLevel,
            L"the subdivision level is not 0 to 4");
    Access::subDLevel(*mesh) = info.subDLevel;
    return mesh;
}

std::unique_ptr<AcDbEntity> makePolyline(const EntityInfo& info) {
    require(info.bulges.empty() || info.bulges.size() == info.points.size(),
            L"a polyline needs one bulge per vertex or none");
    auto line = std::make_unique<AcDbPolyline>();
    for (const Point2& point : info.points) {
        Access::polylinePoints(*line).emplace_back(point[0], point[1]);
    }
    Access::polylineBulges(*line) =
        info.bulges.empty() ? std::vector<double>(info.points.size(), 0.0) : info.bulges;
    Access::polylineElevation(*line) = info.elevation;
    Access::polylineClosed(*line) = info.closed;
    return line;
}

std::unique_ptr<AcDbEntity> makePolyline3d(const EntityInfo& info) {
    auto line = std::make_unique<AcDb3dPolyline>();
    for (const Point3& vertex : info.vertices) {
        Access::polyline3dVertices(*line).push_back(toAcGe(vertex));
    }
    Access::polyline3dClosed(*line) = info.closed;
    return line;
}

std::unique_ptr<AcDbEntity> makePoint(const EntityInfo& info) {
    return std::make_unique<AcDbPoint>(toAcGe(info.position));
}

std::unique_ptr<AcDbEntity> makeLine(const EntityInfo& info) {
    require(info.corners.size() == 2, L"a line needs 2 ends");
    return std::make_unique<AcDbLine>(toAcGe(info.corners[0]), toAcGe(info.corners[1]));
}

std::unique_ptr<AcDbEntity> makeText(const EntityInfo& info) {
    require(info.text.find_first_of(L"\r\n") == std::wstring::npos, L"a text holds a line break");
    require(!info.textStyle.empty(), L"a text has no text style");
    require(std::isfinite(info.height) && info.height > 0.0,
            L"a text's height is not a positive number");
    require(std::isfinite(info.rotation), L"a text's rotation is not a number");
    require(info.horizontalMode >= AcDb::kTextLeft && info.horizontalMode <= AcDb::kTextFit,
            L"a text's horizontal alignment is not 0 to 5");
    require(info.verticalMode >= AcDb::kTextBase && info.verticalMode <= AcDb::kTextTop,
            L"a text's vertical alignment is not 0 to 3");
    auto text = std::make_unique<AcDbText>();
    Access::textPosition(*text) = toAcGe(info.position);
    Access::textAlignment(*text) = toAcGe(info.alignmentPoint);
    Access::textString(*text) = info.text;
    Access::textStyle(*text) = info.textStyle;
    Access::textHeight(*text) = info.height;
    Access::textRotation(*text) = info.rotation;
    Access::textHorizontal(*text) = static_cast<AcDb::TextHorzMode>(info.horizontalMode);
    Access::textVertical(*text) = static_cast<AcDb::TextVertMode>(info.verticalMode);
    return text;
}

std::unique_ptr<AcDbEntity> makeEntity(const EntityInfo& info) {
    switch (info.type) {
        case EntityKind::kFace:
            return makeFace(info);
        case EntityKind::kPolyFaceMesh:
            return makePolyFaceMesh(info);
        case EntityKind::kSubDMesh:
            return makeSubDMesh(info);
        case EntityKind::kPolyline:
            return makePolyline(info);
        case EntityKind::kPolyline3d:
            return makePolyline3d(info);
        case EntityKind::kPoint:
            return makePoint(info);
        case EntityKind::kLine:
            return makeLine(info);
        case EntityKind::kText:
            return makeText(info);
    }
    throw Failure{L"unknown entity type"};
}

std::size_t blockIndexOf(const std::wstring& space) {
    if (space == L"model") {
        return Database::kModelSpace;
    }
    if (space == L"paper") {
        return Database::kPaperSpace;
    }
    throw Failure{L"unknown space '" + space + L"'"};
}

// The handle of a description (0: the drawing gives one); refuses a handle in use.
std::uint64_t handleFor(const EntityInfo& info, const Database& database) {
    if (info.handle.empty()) {
        return 0;
    }
    const std::uint64_t handle = parseHandle(info.handle);
    require(handle != 0, L"'" + info.handle + L"' is not a handle");
    require(handle <= kLargestHandle,
            L"handle " + info.handle + L" is too large: " + kNoRoomForHandles);
    require(!database.handleInUse(handle), L"handle " + info.handle + L" is already in use");
    return handle;
}

// Adds the described entity to the drawing and closes it; gives its handle.
std::uint64_t addDescribed(Database& database, const EntityInfo& info) {
    const std::size_t blockIndex = blockIndexOf(info.space);
    const LayerInfo* layer = database.findLayer(info.layer);
    require(layer != nullptr, L"layer '" + info.layer + L"' does not exist");
    const std::uint64_t handle = handleFor(info, database);
    require(info.colorIndex >= 0 && info.colorIndex <= 256, L"a colour index is not 0 to 256");
    require(info.trueColor >= -1 && info.trueColor <= 0xFFFFFF, L"a true colour is not 0xRRGGBB");
    std::unique_ptr<AcDbEntity> entity = makeEntity(info);
    AcDbEntity& placed = *entity.release();
    database.addEntity(database.blocks()[blockIndex], placed, handle);
    ObjectState& state = stateOf(placed);
    state.layer = internName(layer->name);
    state.colorIndex = static_cast<std::int16_t>(info.colorIndex);
    state.trueColor = info.trueColor;
    state.erased = info.erased;
    state.writer = false;
    syncOpenRegistration(placed);
    return state.handle;
}

void addLayers(Database& database, const std::vector<LayerInfo>& layers) {
    for (const LayerInfo& layer : layers) {
        require(!layer.name.empty(), L"a layer has no name");
        const LayerInfo* existing = database.findLayer(layer.name);
        if (existing == nullptr) {
            database.addLayer(layer);
        } else {
            require(existing == &database.layers().front(),
                    L"layer '" + layer.name + L"' is listed twice");
        }
    }
}

Database& currentDatabase(const Host::Impl& impl) {
    Database* database =
        impl.current != nullptr ? liveDatabase(impl.current->database.get()) : nullptr;
    require(database != nullptr, L"there is no current drawing");
    return *database;
}

}  // namespace

bool Host::addLayer(const std::wstring& name, bool hidden) {
    Database* database = liveDatabase(workingDatabase());
    if (database == nullptr || name.empty() || database->findLayer(name) != nullptr) {
        return false;
    }
    database->addLayer(LayerInfo{name, hidden});
    return true;
}

bool Host::styleLayer(const std::wstring& name, int colorIndex, std::int32_t trueColor,
                      const std::wstring& linetype, int lineweight) {
    Database* database = liveDatabase(workingDatabase());
    LayerInfo* layer = database != nullptr ? database->findLayer(name) : nullptr;
    if (layer == nullptr) {
        return false;
    }
    layer->colorIndex = colorIndex;
    layer->trueColor = trueColor;
    layer->linetype = linetype;
    layer->lineweight = lineweight;
    return true;
}

std::vector<LayerInfo> Host::layers() const {
    const Database* database = liveDatabase(workingDatabase());
    return database != nullptr ? database->layers() : std::vector<LayerInfo>();
}

namespace {

DrawingSnapshot snapshotOf(const Database* database, MeshFaces meshFaces) {
    DrawingSnapshot snapshot;
    if (database == nullptr) {
        return snapshot;
    }
    snapshot.layers = database->layers();
    for (std::size_t b = 0; b < database->blocks().size(); ++b) {
        for (AcDbEntity* entity : database->blocks()[b].entities) {
            if (entity != nullptr) {
                snapshot.entities.push_back(describe(*entity, b, meshFaces));
            }
        }
    }
    snapshot.nextHandle = database->nextHandle();
    snapshot.dxfOrigin = database->dxfOrigin();
    return snapshot;
}

}  // namespace

DrawingSnapshot Host::snapshot() const {
    return snapshotOf(liveDatabase(workingDatabase()), MeshFaces::kCopied);
}

DrawingSnapshot Host::outputSnapshot() const {
    return snapshotOf(liveDatabase(workingDatabase()), MeshFaces::kInPlace);
}

bool Host::entityInfo(const std::wstring& handle, EntityInfo& entity) const {
    Database* database = liveDatabase(workingDatabase());
    AcDbObject* object = database != nullptr ? database->object(parseHandle(handle)) : nullptr;
    if (object == nullptr || !object->isKindOf(AcDbEntity::desc())) {
        return false;
    }
    const ObjectState& state = stateOf(*object);
    for (std::size_t b = 0; b < database->blocks().size(); ++b) {
        const auto& entities = database->blocks()[b].entities;
        if (state.index < entities.size() && entities[state.index] == object) {
            entity = describe(static_cast<AcDbEntity&>(*object), b);
            return true;
        }
    }
    return false;
}

std::wstring Host::addEntity(const EntityInfo& entity, std::wstring& error) {
    try {
        return handleText(addDescribed(currentDatabase(*impl_), entity));
    } catch (const Failure& failure) {
        error = failure.text;
    } catch (const HandlesExhausted& full) {
        error = utf8ToWide(full.what());
    }
    return std::wstring();
}

bool Host::loadSnapshot(const DrawingSnapshot& snapshot, std::wstring& error) {
    if (impl_->current == nullptr) {
        error = L"there is no current drawing";
        return false;
    }
    std::unique_ptr<Database> database = makeDatabase();
    try {
        addLayers(*database, snapshot.layers);
        // Entities without a handle, and sub-entities, get handles above all given ones.
        std::uint64_t seed = snapshot.nextHandle;
        require(seed <= kLargestHandle + 1,
                L"the next handle " + handleText(seed) + L" is too large: " + kNoRoomForHandles);
        for (const EntityInfo& entity : snapshot.entities) {
            seed = std::max(seed, std::min(parseHandle(entity.handle), kLargestHandle) + 1);
        }
        if (seed > 0) {
            database->reserveHandle(seed - 1);
        }
        for (const EntityInfo& entity : snapshot.entities) {
            addDescribed(*database, entity);
        }
    } catch (const Failure& failure) {
        error = failure.text;
        destroyDatabase(database);
        return false;
    } catch (const HandlesExhausted& full) {
        error = utf8ToWide(full.what());
        destroyDatabase(database);
        return false;
    }
    database->setDxfOrigin(snapshot.dxfOrigin);
    deleteOrphans();
    destroyDatabase(impl_->current->database);
    impl_->current->database = std::move(database);
    return true;
}

bool Host::eraseObject(const std::wstring& handle) {
    Database* database = liveDatabase(workingDatabase());
    AcDbObject* object = database != nullptr ? database->object(parseHandle(handle)) : nullptr;
    if (object == nullptr) {
        return false;
    }
    ObjectState& state = stateOf(*object);
    if (state.erased || state.writer || state.readers > 0) {
        return false;
    }
    state.erased = true;
    return true;
}

namespace {

std::wstring addOrThrow(Host& host, const EntityInfo& info) {
    std::wstring error;
    const std::wstring handle = host.addEntity(info, error);
    if (handle.empty()) {
        std::string narrow;
        for (const wchar_t c : error) {
            narrow += c < 0x80 ? static_cast<char>(c) : '?';
        }
        throw std::runtime_error("cannot add the entity: " + narrow);
    }
    return handle;
}

EntityInfo baseInfo(EntityKind type, const std::wstring& layer, const std::wstring& space,
                    const std::wstring& handle) {
    EntityInfo info;
    info.type = type;
    info.layer = layer;
    info.space = space;
    info.handle = handle;
    return info;
}

// A mesh entity of the kind: its vertices and its faces (vertex numbers, as the kind counts them).
EntityInfo meshInfo(EntityKind kind, const std::vector<Point3>& vertices,
                    const std::vector<std::vector<int>>& faces, const std::wstring& layer,
                    const std::wstring& space, const std::wstring& handle) {
    EntityInfo info = baseInfo(kind, layer, space, handle);
    info.vertices = vertices;
    info.faces = faces;
    return info;
}

}  // namespace

std::wstring Host::addFace(const Point3& a, const Point3& b, const Point3& c, const Point3& d,
                           const std::wstring& layer, const std::wstring& space,
                           const std::wstring& handle) {
    EntityInfo info = baseInfo(EntityKind::kFace, layer, space, handle);
    info.corners = {a, b, c, d};
    return addOrThrow(*this, info);
}

std::wstring Host::addPolyFaceMesh(const std::vector<Point3>& vertices,
                                   const std::vector<std::vector<int>>& faceRecords,
                                   const std::wstring& layer, const std::wstring& space,
                                   const std::wstring& handle) {
    return addOrThrow(
        *this, meshInfo(EntityKind::kPolyFaceMesh, vertices, faceRecords, layer, space, handle));
}

std::wstring Host::addSubDMesh(const std::vector<Point3>& vertices,
                               const std::vector<std::vector<int>>& faces,
                               const std::wstring& layer, const std::wstring& space,
                               const std::wstring& handle) {
    return addOrThrow(*this,
                      meshInfo(EntityKind::kSubDMesh, vertices, faces, layer, space, handle));
}

std::wstring Host::add3dPolyline(const std::vector<Point3>& vertices, bool closed,
                                 const std::wstring& layer, const std::wstring& space,
                                 const std::wstring& handle) {
    EntityInfo info = baseInfo(EntityKind::kPolyline3d, layer, space, handle);
    info.vertices = vertices;
    info.closed = closed;
    return addOrThrow(*this, info);
}

std::wstring Host::addPolyline(const std::vector<Point2>& points, double elevation, bool closed,
                               const std::wstring& layer, const std::wstring& space,
                               const std::wstring& handle) {
    EntityInfo info = baseInfo(EntityKind::kPolyline, layer, space, handle);
    info.points = points;
    info.elevation = elevation;
    info.closed = closed;
    return addOrThrow(*this, info);
}

}  // namespace kafhost
