// The vertex iterator of a polyface mesh: its vertices, then its face records, each opened by id.
#include "host_fixture.h"

namespace {

class PolyFaceIterator : public HostFixture {};

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

}  // namespace
