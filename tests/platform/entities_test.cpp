// The entity classes: class chains, layers, polyface meshes and their vertex iterator,
// subdivision meshes, faces, polylines and colours.
#include <utility>

#include "host_fixture.h"

namespace {

using kafhost::EntityKind;

class Entities : public HostFixture {};
using PolyFaceIterator = Entities;

TEST_F(Entities, ClassChainsFollowTheHost) {
    const struct {
        AcRxClass* cls;
        std::vector<std::wstring> chain;
    } cases[] = {
        {AcDbSubDMesh::desc(), {L"AcDbSubDMesh", L"AcDbEntity", L"AcDbObject", L"AcRxObject"}},
        {AcDbPolyline::desc(),
         {L"AcDbPolyline", L"AcDbCurve", L"AcDbEntity", L"AcDbObject", L"AcRxObject"}},
        {AcDbFaceRecord::desc(),
         {L"AcDbFaceRecord", L"AcDbVertex", L"AcDbEntity", L"AcDbObject", L"AcRxObject"}},
        {AcDbPolyFaceMeshVertex::desc(),
         {L"AcDbPolyFaceMeshVertex", L"AcDbVertex", L"AcDbEntity", L"AcDbObject", L"AcRxObject"}},
        {AcDbPolyFaceMesh::desc(),
         {L"AcDbPolyFaceMesh", L"AcDbEntity", L"AcDbObject", L"AcRxObject"}},
        {AcDbFace::desc(), {L"AcDbFace", L"AcDbEntity", L"AcDbObject", L"AcRxObject"}},
        {AcDbBlockTableRecord::desc(),
         {L"AcDbBlockTableRecord", L"AcDbSymbolTableRecord", L"AcDbObject", L"AcRxObject"}},
        {AcDbBlockTable::desc(),
         {L"AcDbBlockTable", L"AcDbSymbolTable", L"AcDbObject", L"AcRxObject"}},
        {AcRxDynamicLinker::desc(), {L"AcRxDynamicLinker", L"AcRxObject"}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> chain;
        for (AcRxClass* cls = c.cls; cls != nullptr; cls = cls->myParent()) {
            chain.push_back(cls->name());
        }
        EXPECT_EQ(chain, c.chain);
    }
    AcDbSubDMesh mesh;
    EXPECT_EQ(mesh.isA(), AcDbSubDMesh::desc());
    EXPECT_TRUE(mesh.isKindOf(AcDbEntity::desc()));
    EXPECT_FALSE(mesh.isKindOf(AcDbCurve::desc()));
    EXPECT_TRUE(AcDbPolyline::desc()->isDerivedFrom(AcDbCurve::desc()));
    EXPECT_FALSE(AcDbCurve::desc()->isDerivedFrom(AcDbPolyline::desc()));
}

// The drawing's entity kinds are the host's entity classes, named as the host names them; the
// vertices and tables are no kinds.
TEST_F(Entities, EachKindIsOneHostClassByName) {
    const std::pair<AcRxClass*, EntityKind> kinds[] = {
        {AcDbFace::desc(), EntityKind::kFace},
        {AcDbPolyFaceMesh::desc(), EntityKind::kPolyFaceMesh},
        {AcDbSubDMesh::desc(), EntityKind::kSubDMesh},
        {AcDbPolyline::desc(), EntityKind::kPolyline},
        {AcDb3dPolyline::desc(), EntityKind::kPolyline3d},
        {AcDbPoint::desc(), EntityKind::kPoint},
        {AcDbLine::desc(), EntityKind::kLine},
        {AcDbText::desc(), EntityKind::kText},
    };
    for (const auto& [cls, kind] : kinds) {
        EXPECT_EQ(std::wstring(kafhost::entityKindName(kind)), cls->name());
        EntityKind named = kind == EntityKind::kFace ? EntityKind::kText : EntityKind::kFace;
        EXPECT_TRUE(kafhost::entityKindNamed(cls->name(), named)) << cls->name();
        EXPECT_EQ(named, kind) << cls->name();
    }
    for (const wchar_t* other :
         {L"AcDbFaceRecord", L"AcDbBlockTable", L"AcDbEntity", L"acdbface", L"AcDbCircle", L""}) {
        EntityKind named = EntityKind::kLine;
        EXPECT_FALSE(kafhost::entityKindNamed(other, named)) << other;
        EXPECT_EQ(named, EntityKind::kLine);
    }
}

TEST_F(Entities, SetLayerNeedsAnExistingVisibleLayer) {
    ASSERT_TRUE(host.addLayer(L"TIN"));
    ASSERT_TRUE(host.addLayer(L"Secret", true));
    EXPECT_FALSE(host.addLayer(L"tin"));
    AcDbSubDMesh mesh;
    EXPECT_EQ(std::wstring(mesh.layer()), L"0");
    EXPECT_EQ(mesh.setLayer(L"Missing"), Acad::eKeyNotFound);
    EXPECT_EQ(mesh.setLayer(L"Secret"), Acad::eKeyNotFound);
    EXPECT_EQ(mesh.setLayer(L"Secret", true, true), Acad::eOk);
    EXPECT_EQ(std::wstring(mesh.layer()), L"Secret");
    EXPECT_EQ(mesh.setLayer(L"tin"), Acad::eOk);
    EXPECT_EQ(std::wstring(mesh.layer()), L"TIN");
    mesh.setDatabaseDefaults();
    EXPECT_EQ(std::wstring(mesh.layer()), L"0");
}

TEST_F(Entities, LineKeepsItsEndsAndMovesThemOnlyWhenOpenForWrite) {
    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForWrite);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 1), AcGePoint3d(3, 4, 5));
    EXPECT_EQ(line->setEndPoint(AcGePoint3d(6, 7, 8)), Acad::eOk);
    ASSERT_EQ(model->appendAcDbEntity(line), Acad::eOk);
    EXPECT_EQ(line->setStartPoint(AcGePoint3d(1, 2, 3)), Acad::eOk);
    AcDbHandle handle;
    line->getAcDbHandle(handle);
    line->close();
    model->close();
    EXPECT_EQ(line->setStartPoint(AcGePoint3d(9, 9, 9)), Acad::eNotOpenForWrite);

    kafhost::EntityInfo info;
    ASSERT_TRUE(host.entityInfo(kafhost::handleText(handle.value()), info));
    EXPECT_EQ(info.type, EntityKind::kLine);
    EXPECT_EQ(info.corners, (std::vector<kafhost::Point3>{{1, 2, 3}, {6, 7, 8}}));
}

TEST_F(Entities, PolyFaceMeshKeepsItsSubEntities) {
    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForWrite);
    auto* mesh = new AcDbPolyFaceMesh();
    ASSERT_EQ(model->appendAcDbEntity(mesh), Acad::eOk);
    const AcGePoint3d points[] = {{0, 0, 1}, {1, 0, 2}, {0, 1, 3}};
    for (const AcGePoint3d& point : points) {
        auto* vertex = new AcDbPolyFaceMeshVertex();
        vertex->setPosition(point);
        ASSERT_EQ(mesh->appendVertex(vertex), Acad::eOk);
        EXPECT_EQ(host.openObjectCount(), 3u);  // model space, mesh, vertex
        vertex->close();
    }
    auto* face = new AcDbFaceRecord();
    face->setVertexAt(0, 1);
    face->setVertexAt(1, 2);
    face->setVertexAt(2, 3);
    EXPECT_EQ(face->setVertexAt(4, 1), Acad::eInvalidIndex);
    ASSERT_EQ(mesh->appendFaceRecord(face), Acad::eOk);
    AcDbHandle faceHandle;
    face->getAcDbHandle(faceHandle);
    face->close();
    EXPECT_EQ(mesh->numVertices(), 3);
    EXPECT_EQ(mesh->numFaces(), 1);
    AcDbHandle meshHandle;
    mesh->getAcDbHandle(meshHandle);
    mesh->close();
    model->close();
    EXPECT_EQ(host.openObjectCount(), 0u);
    EXPECT_EQ(faceHandle.value(), meshHandle.value() + 4);

    kafhost::EntityInfo info;
    ASSERT_TRUE(host.entityInfo(kafhost::handleText(meshHandle.value()), info));
    EXPECT_EQ(info.type, EntityKind::kPolyFaceMesh);
    EXPECT_EQ(info.vertices, (std::vector<kafhost::Point3>{{0, 0, 1}, {1, 0, 2}, {0, 1, 3}}));
    EXPECT_EQ(info.faces, (std::vector<std::vector<int>>{{1, 2, 3, 0}}));

    // A closed face record opens again by its id and keeps what is changed.
    AcDbFaceRecord* reopened = nullptr;
    ASSERT_EQ(
        acdbOpenObject(reopened, AcDbObjectId(database(), faceHandle.value()), AcDb::kForWrite),
        Acad::eOk);
    EXPECT_EQ(reopened->ownerId().handle(), meshHandle);
    reopened->setVertexAt(3, 2);
    reopened->close();
    ASSERT_TRUE(host.entityInfo(kafhost::handleText(meshHandle.value()), info));
    EXPECT_EQ(info.faces, (std::vector<std::vector<int>>{{1, 2, 3, 2}}));
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(Entities, SubEntitiesOfANewMeshGetHandlesWhenItIsAppended) {
    auto* mesh = new AcDbPolyFaceMesh();
    auto* vertex = new AcDbPolyFaceMeshVertex(AcGePoint3d(1, 2, 3));
    ASSERT_EQ(mesh->appendVertex(vertex), Acad::eOk);
    EXPECT_EQ(mesh->appendVertex(vertex), Acad::eAlreadyInDb);
    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForWrite);
    ASSERT_EQ(model->appendAcDbEntity(mesh), Acad::eOk);
    EXPECT_EQ(vertex->objectId().handle().value(), mesh->objectId().handle().value() + 1);
    AcDbFaceRecord stray;
    EXPECT_EQ(model->appendAcDbEntity(&stray), Acad::eWrongObjectType);
    vertex->close();
    mesh->close();
    model->close();
    EXPECT_EQ(host.openObjectCount(), 1u);  // the refused face record, not in the drawing
}

TEST_F(Entities, PolyFaceVertexCountIsSixteenBitsWide) {
    AcDbPolyFaceMesh mesh;
    for (int i = 0; i < 32768; ++i) {
        auto* vertex = new AcDbPolyFaceMeshVertex(AcGePoint3d(i, 0, 0));
        mesh.appendVertex(vertex);
        vertex->close();
    }
    EXPECT_EQ(mesh.numVertices(), -32768);
    EXPECT_EQ(mesh.vertexCount(), 32768u);
    EXPECT_EQ(mesh.vertexPosition(32767).x, 32767.0);
}

TEST_F(PolyFaceIterator, WalksVerticesThenFaceRecordsBothWays) {
    const std::wstring handle = host.addPolyFaceMesh({{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}},
                                                     {{1, 2, 3, 0}, {2, -4, 3, 0}});
    AcDbPolyFaceMesh* mesh = nullptr;
    ASSERT_EQ(acdbOpenObject(mesh, idOf(handle), AcDb::kForRead), Acad::eOk);
    AcDbObjectIterator* iterator = mesh->vertexIterator();
    std::vector<kafhost::Point3> positions;
    std::vector<std::vector<int>> records;
    std::vector<AcDbObjectId> ids;
    for (iterator->start(); !iterator->done(); iterator->step()) {
        EXPECT_EQ(iterator->entity(), nullptr);
        ids.push_back(iterator->objectId());
        AcDbVertex* subentity = nullptr;
        ASSERT_EQ(acdbOpenObject(subentity, iterator->objectId(), AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(subentity->ownerId(), mesh->objectId());
        if (subentity->isKindOf(AcDbPolyFaceMeshVertex::desc())) {
            EXPECT_TRUE(records.empty()) << "a vertex after a face record";
            const AcGePoint3d p = static_cast<AcDbPolyFaceMeshVertex*>(subentity)->position();
            positions.push_back({p.x, p.y, p.z});
        } else {
            ASSERT_TRUE(subentity->isKindOf(AcDbFaceRecord::desc()));
            std::vector<int> numbers;
            for (Adesk::UInt16 i = 0; i < 4; ++i) {
                Adesk::Int16 number = 0;
                static_cast<AcDbFaceRecord*>(subentity)->getVertexAt(i, number);
                numbers.push_back(number);
            }
            records.push_back(numbers);
        }
        subentity->close();
    }
    EXPECT_EQ(positions,
              (std::vector<kafhost::Point3>{{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}}));
    EXPECT_EQ(records, (std::vector<std::vector<int>>{{1, 2, 3, 0}, {2, -4, 3, 0}}));
    EXPECT_TRUE(iterator->objectId().isNull());

    std::vector<AcDbObjectId> backwards;
    for (iterator->start(true); !iterator->done(); iterator->step(true)) {
        backwards.insert(backwards.begin(), iterator->objectId());
    }
    EXPECT_EQ(backwards, ids);
    delete iterator;
    mesh->close();
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(PolyFaceIterator, MeshOutsideADrawingHasNothingToOpen) {
    AcDbPolyFaceMesh mesh;
    auto* vertex = new AcDbPolyFaceMeshVertex(AcGePoint3d(1, 2, 3));
    ASSERT_EQ(mesh.appendVertex(vertex), Acad::eOk);
    vertex->close();
    AcDbObjectIterator* iterator = mesh.vertexIterator();
    iterator->start();
    EXPECT_TRUE(iterator->done());
    delete iterator;
}

TEST_F(Entities, SetSubDMeshChecksEveryFace) {
    AcDbSubDMesh mesh;
    AcGePoint3dArray points;
    points.append(AcGePoint3d(0, 0, 0));
    points.append(AcGePoint3d(1, 0, 0));
    points.append(AcGePoint3d(0, 1, 0));
    AcArray<Adesk::Int32> faces;
    for (int value : {3, 0, 1, 2}) {
        faces.append(value);
    }
    ASSERT_EQ(mesh.setSubDMesh(points, faces, 0), Acad::eOk);
    mesh.setVertexColorArray(AcArray<AcCmEntityColor>().setLogicalLength(3));

    const std::vector<std::vector<Adesk::Int32>> bad = {
        {3, 0, 1, 3},     // index past the vertices
        {3, 0, 1},        // count larger than what follows
        {2, 0, 1},        // fewer than three corners
        {3, 0, 1, -1},    // negative index
        {3, 0, 1, 2, 3},  // left over
    };
    for (const auto& list : bad) {
        AcArray<Adesk::Int32> badFaces;
        for (Adesk::Int32 value : list) {
            badFaces.append(value);
        }
        EXPECT_EQ(mesh.setSubDMesh(AcGePoint3dArray(), badFaces, 0), Acad::eInvalidInput);
    }
    EXPECT_EQ(mesh.setSubDMesh(points, faces, 5), Acad::eInvalidInput);
    int count = 0;
    mesh.numOfVertices(count);
    EXPECT_EQ(count, 3);
    mesh.numOfFaces(count);
    EXPECT_EQ(count, 1);
    AcArray<AcCmEntityColor> colours;
    mesh.getVertexColorArray(colours);
    EXPECT_EQ(colours.length(), 3);  // unchanged by the refused calls
}

// Meshes large enough for their copies to be given fresh room: each set copies its arrays whole,
// a later set of another size replaces them, and the caller's arrays stay the caller's.
TEST_F(Entities, LargeMeshesAreCopiedWholeAtEverySet) {
    const auto strip = [](int vertexCount, double shift, AcGePoint3dArray& points,
                          AcArray<Adesk::Int32>& faces) {
        points.removeAll();
        faces.removeAll();
        for (int i = 0; i < vertexCount; ++i) {
            points.append(AcGePoint3d(i + shift, (i % 2) + shift, i * 0.5 + shift));
        }
        for (int i = 0; i + 2 < vertexCount; ++i) {
            for (int value : {3, i, i + 1, i + 2}) {
                faces.append(value);
            }
        }
    };
    const auto expectMesh = [](const AcDbSubDMesh& mesh, const AcGePoint3dArray& points,
                               const AcArray<Adesk::Int32>& faces) {
        AcGePoint3dArray gotPoints;
        AcArray<Adesk::Int32> gotFaces;
        ASSERT_EQ(mesh.getVertices(gotPoints), Acad::eOk);
        ASSERT_EQ(mesh.getFaceArray(gotFaces), Acad::eOk);
        ASSERT_EQ(gotPoints.length(), points.length());
        ASSERT_EQ(gotFaces.length(), faces.length());
        for (int i = 0; i < points.length(); ++i) {
            ASSERT_EQ(gotPoints[i].x, points[i].x) << i;
            ASSERT_EQ(gotPoints[i].y, points[i].y) << i;
            ASSERT_EQ(gotPoints[i].z, points[i].z) << i;
        }
        for (int i = 0; i < faces.length(); ++i) {
            ASSERT_EQ(gotFaces[i], faces[i]) << i;
        }
    };
    AcDbSubDMesh mesh;
    AcGePoint3dArray points;
    AcArray<Adesk::Int32> faces;
    for (const auto& [count, shift] :
         {std::pair<int, double>{120000, 0.25}, {70000, -3.0}, {200000, 7.5}}) {
        strip(count, shift, points, faces);
        ASSERT_EQ(mesh.setSubDMesh(points, faces, 0), Acad::eOk);
        const AcGePoint3dArray keptPoints = points;
        const AcArray<Adesk::Int32> keptFaces = faces;
        points[0] = AcGePoint3d(-1, -1, -1);
        faces[1] = 2;
        expectMesh(mesh, keptPoints, keptFaces);
    }
    AcArray<AcCmEntityColor> colours;
    for (int i = 0; i < 200000; ++i) {
        colours.append(AcCmEntityColor(static_cast<Adesk::UInt8>(i),
                                       static_cast<Adesk::UInt8>(i >> 8),
                                       static_cast<Adesk::UInt8>(i >> 16)));
    }
    ASSERT_EQ(mesh.setVertexColorArray(colours), Acad::eOk);
    AcArray<AcCmEntityColor> got;
    ASSERT_EQ(mesh.getVertexColorArray(got), Acad::eOk);
    ASSERT_EQ(got.length(), colours.length());
    for (int i = 0; i < colours.length(); ++i) {
        ASSERT_TRUE(got[i] == colours[i]) << i;
    }
}

TEST_F(Entities, VertexColoursNeedOnePerVertex) {
    const std::wstring handle = host.addSubDMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 5}}, {{0, 1, 2}});
    AcDbSubDMesh* mesh = nullptr;
    ASSERT_EQ(acdbOpenObject(mesh, idOf(handle), AcDb::kForRead), Acad::eOk);
    AcArray<AcCmEntityColor> colours;
    colours.append(AcCmEntityColor(255, 0, 0));
    colours.append(AcCmEntityColor(0, 255, 0));
    EXPECT_EQ(mesh->setVertexColorArray(colours), Acad::eNotOpenForWrite);
    ASSERT_EQ(mesh->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(mesh->setVertexColorArray(colours), Acad::eInvalidInput);
    colours.append(AcCmEntityColor(0, 0, 255));
    EXPECT_EQ(mesh->setVertexColorArray(colours), Acad::eOk);
    AcGePoint3d vertex;
    EXPECT_EQ(mesh->getVertexAt(3, vertex), Acad::eInvalidIndex);
    ASSERT_EQ(mesh->getVertexAt(2, vertex), Acad::eOk);
    EXPECT_EQ(vertex.z, 5.0);
    mesh->close();
    kafhost::EntityInfo info;
    ASSERT_TRUE(host.entityInfo(handle, info));
    EXPECT_EQ(info.vertexColours,
              (std::vector<kafhost::Rgb>{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}));
}

TEST_F(Entities, ColourKeepsItsMethodInTheHighByte) {
    AcCmEntityColor colour;
    EXPECT_EQ(colour.colorMethod(), AcCmEntityColor::kByLayer);
    colour.setColorMethod(AcCmEntityColor::kByColor);
    colour.setRGB(200, 99, 49);
    EXPECT_EQ(colour.colorMethod(), AcCmEntityColor::kByColor);
    EXPECT_EQ(colour.red(), 200);
    EXPECT_EQ(colour.green(), 99);
    EXPECT_EQ(colour.blue(), 49);
    EXPECT_EQ(colour, AcCmEntityColor(200, 99, 49));
    EXPECT_FALSE(colour == AcCmEntityColor(200, 99, 48));
}

TEST_F(Entities, FaceAndPolylineGeometry) {
    AcDbFace face(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0));
    AcGePoint3d corner;
    ASSERT_EQ(face.getVertexAt(3, corner), Acad::eOk);
    EXPECT_EQ(corner.y, 1.0);
    EXPECT_EQ(face.getVertexAt(4, corner), Acad::eInvalidIndex);

    AcDbPolyline line;
    line.addVertexAt(0, AcGePoint2d(1, 2));
    line.addVertexAt(1, AcGePoint2d(3, 4), 0.5);
    line.addVertexAt(0, AcGePoint2d(0, 0));
    EXPECT_EQ(line.addVertexAt(5, AcGePoint2d(0, 0)), Acad::eInvalidIndex);
    line.setElevation(7.5);
    ASSERT_EQ(line.numVerts(), 3u);
    ASSERT_EQ(line.getPointAt(1, corner), Acad::eOk);
    EXPECT_EQ(corner.x, 1.0);
    EXPECT_EQ(corner.z, 7.5);
    double bulge = 0.0;
    line.getBulgeAt(2, bulge);
    EXPECT_EQ(bulge, 0.5);
    EXPECT_EQ(line.getPointAt(3, corner), Acad::eInvalidIndex);
}

TEST_F(Entities, ErrorStatusTextIsTheEnumeratorName) {
    EXPECT_EQ(std::wstring(acadErrorStatusText(Acad::eKeyNotFound)), L"eKeyNotFound");
    EXPECT_EQ(std::wstring(acadErrorStatusText(Acad::eOk)), L"eOk");
    EXPECT_EQ(std::wstring(acadErrorStatusText(Acad::eWasNotErased)), L"eWasNotErased");
    EXPECT_EQ(std::wstring(acadErrorStatusText(static_cast<Acad::ErrorStatus>(999))),
              L"eUnknownErrorStatus");
}

}  // namespace
