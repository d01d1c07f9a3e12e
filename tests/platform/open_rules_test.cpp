// Opening and closing drawing objects, and the host's list of open objects.
#include "host_fixture.h"

namespace {

class OpenRules : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        line = host.addPolyline({{0, 0}, {1, 0}}, 0.0, false);
    }

    std::wstring line;

    AcDbObject* open(AcDb::OpenMode mode, Acad::ErrorStatus expected = Acad::eOk) {
        AcDbObject* object = nullptr;
        EXPECT_EQ(acdbOpenAcDbObject(object, idOf(line), mode), expected);
        return object;
    }
};

TEST_F(OpenRules, SeveralReadersButOneWriter) {
    AcDbObject* first = open(AcDb::kForRead);
    AcDbObject* second = open(AcDb::kForRead);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    open(AcDb::kForWrite, Acad::eWasOpenedForRead);
    EXPECT_EQ(first->upgradeOpen(), Acad::eHadMultipleReaders);
    EXPECT_EQ(first->close(), Acad::eOk);
    EXPECT_EQ(first->upgradeOpen(), Acad::eOk);
    EXPECT_TRUE(first->isWriteEnabled());
    open(AcDb::kForRead, Acad::eWasOpenedForWrite);
    open(AcDb::kForWrite, Acad::eWasOpenedForWrite);
    EXPECT_EQ(first->close(), Acad::eOk);
    EXPECT_EQ(host.openObjectCount(), 0u);
    EXPECT_EQ(first->close(), Acad::eInvalidOpenState);
}

TEST_F(OpenRules, OpenObjectsAreListedWithClassHandleAndMode) {
    AcDbObject* object = open(AcDb::kForRead);
    auto* mesh = new AcDbSubDMesh();
    EXPECT_EQ(host.openObjectCount(), 2u);
    EXPECT_EQ(
        host.openObjectDescriptions(),
        (std::vector<std::wstring>{L"AcDbPolyline " + line + L" (read)", L"AcDbSubDMesh (new)"}));
    object->close();
    delete mesh;
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(OpenRules, ClassTestOfTypedOpen) {
    AcDbSubDMesh* mesh = nullptr;
    EXPECT_EQ(acdbOpenObject(mesh, idOf(line), AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(mesh, nullptr);
    AcDbPolyline* polyline = nullptr;
    ASSERT_EQ(acdbOpenObject(polyline, idOf(line), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(polyline->numVerts(), 2u);
    polyline->close();
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(OpenRules, ErasedObjectsOpenOnlyWhenAsked) {
    AcDbObjectId id = idOf(line);
    ASSERT_TRUE(host.eraseObject(line));
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_TRUE(object->isErased());
    EXPECT_EQ(object->erase(false), Acad::eOk);
    object->close();
    EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(object->erase(), Acad::eNotOpenForWrite);
    object->close();
}

TEST_F(OpenRules, ReadingAClosedEntityFails) {
    AcDbPolyline* polyline = nullptr;
    ASSERT_EQ(acdbOpenObject(polyline, idOf(line), AcDb::kForRead), Acad::eOk);
    AcGePoint3d point;
    EXPECT_EQ(polyline->addVertexAt(0, AcGePoint2d(5, 5)), Acad::eNotOpenForWrite);
    polyline->close();
    EXPECT_EQ(polyline->getPointAt(0, point), Acad::eNotOpenForRead);
}

TEST_F(OpenRules, AppendedEntityStaysOpenForWriteUntilClosed) {
    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForWrite);
    ASSERT_NE(model, nullptr);
    auto* mesh = new AcDbSubDMesh();
    AcDbObjectId id;
    ASSERT_EQ(model->appendAcDbEntity(id, mesh), Acad::eOk);
    EXPECT_TRUE(mesh->isWriteEnabled());
    EXPECT_EQ(mesh->objectId(), id);
    EXPECT_EQ(mesh->ownerId(), model->objectId());
    EXPECT_EQ(model->appendAcDbEntity(mesh), Acad::eAlreadyInDb);
    EXPECT_EQ(model->appendAcDbEntity(nullptr), Acad::eNullEntityPointer);
    EXPECT_EQ(host.openObjectCount(), 2u);
    mesh->close();
    model->close();
    EXPECT_EQ(host.openObjectCount(), 0u);
    // Appending needs the block open for write.
    model = openBlock(ACDB_MODEL_SPACE, AcDb::kForRead);
    ASSERT_NE(model, nullptr);
    AcDbFace face;
    EXPECT_EQ(model->appendAcDbEntity(&face), Acad::eNotOpenForWrite);
    model->close();
}

TEST_F(OpenRules, ClosingANewObjectEndsItsOpening) {
    static bool closedBeforeReturn = false;
    acedDefun(L"make-and-close", 7);
    acedRegFunc(
        [] {
            (new AcDbSubDMesh())->close();
            closedBeforeReturn = kafhost::Host::instance().openObjectCount() == 0;
            return RSRSLT;
        },
        7);
    const kafhost::CallResult result = host.call(L"make-and-close");
    EXPECT_TRUE(closedBeforeReturn);
    EXPECT_EQ(result.openObjectsAfter, 0u);
}

TEST_F(OpenRules, ACallThatLeavesAnObjectOpenIsSeen) {
    acedDefun(L"leave-open", 8);
    acedRegFunc(
        [] {
            AcDbBlockTable* table = nullptr;
            acdbHostApplicationServices()->workingDatabase()->getSymbolTable(table, AcDb::kForRead);
            return RSRSLT;
        },
        8);
    const kafhost::CallResult result = host.call(L"leave-open");
    EXPECT_EQ(result.openObjectsAfter, 1u);
    EXPECT_EQ(result.openObjectsAfterDescriptions,
              std::vector<std::wstring>{L"AcDbBlockTable 1 (read)"});
}

}  // namespace
