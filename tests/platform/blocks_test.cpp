// The block table, model and paper space, and iterating model space.
#include "host_fixture.h"

namespace {

class Blocks : public HostFixture {
protected:
    // Handles of the entities an iterator over model space visits, in order.
    std::vector<std::wstring> visited(bool skipDeleted) {
        std::vector<std::wstring> handles;
        AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForRead);
        AcDbBlockTableRecordIterator* iterator = nullptr;
        EXPECT_EQ(model->newIterator(iterator, true, skipDeleted), Acad::eOk);
        for (; !iterator->done(); iterator->step(true, skipDeleted)) {
            AcDbObjectId id;
            iterator->getEntityId(id);
            handles.push_back(kafhost::handleText(id.handle().value()));
        }
        delete iterator;
        model->close();
        return handles;
    }

    std::wstring addLine(const std::wstring& space = L"model") {
        return host.addPolyline({{0, 0}, {1, 1}}, 2.0, false, L"0", space);
    }
};

TEST_F(Blocks, ANewDrawingHasModelAndPaperSpace) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(table->has(ACDB_MODEL_SPACE));
    EXPECT_TRUE(table->has(L"*paper_space"));
    EXPECT_FALSE(table->has(L"Block1"));
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(table->getAt(L"Block1", record, AcDb::kForRead), Acad::eKeyNotFound);
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, record, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(std::wstring(record->getName()), ACDB_MODEL_SPACE);
    record->close();
    table->close();
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, record, AcDb::kForRead), Acad::eNotOpenForRead);
    EXPECT_EQ(host.layers().size(), 1u);
    EXPECT_EQ(host.layers()[0].name, L"0");
}

TEST_F(Blocks, ErasedRecordIsRefusedUnlessAsked) {
    ASSERT_TRUE(host.eraseObject(L"2"));  // model space
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, record, AcDb::kForWrite), Acad::eWasErased);
    EXPECT_FALSE(table->has(ACDB_MODEL_SPACE));
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, record, AcDb::kForWrite, true), Acad::eOk);
    AcDbFace face;
    EXPECT_EQ(record->appendAcDbEntity(&face), Acad::eWasErased);
    record->close();
    table->close();
}

TEST_F(Blocks, IteratorVisitsModelSpaceInOrderSkippingErasedOnes) {
    EXPECT_TRUE(visited(true).empty());
    const std::wstring a = addLine();
    addLine(L"paper");
    const std::wstring b = addLine();
    const std::wstring c = addLine();
    ASSERT_TRUE(host.eraseObject(b));
    EXPECT_EQ(visited(true), (std::vector<std::wstring>{a, c}));
    EXPECT_EQ(visited(false), (std::vector<std::wstring>{a, b, c}));
}

TEST_F(Blocks, SeekFindsOnlyUnerasedEntitiesOfTheBlock) {
    const std::wstring inModel = addLine();
    const std::wstring inPaper = addLine(L"paper");
    const std::wstring erased = addLine();
    const std::wstring mesh =
        host.addPolyFaceMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3, 0}});
    const std::wstring vertex = kafhost::handleText(kafhost::parseHandle(mesh) + 1);
    ASSERT_TRUE(host.eraseObject(erased));

    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForRead);
    AcDbBlockTableRecordIterator* iterator = nullptr;
    ASSERT_EQ(model->newIterator(iterator), Acad::eOk);
    EXPECT_EQ(iterator->seek(idOf(inPaper)), Acad::eInvalidInput);
    EXPECT_EQ(iterator->seek(idOf(erased)), Acad::eInvalidInput);
    EXPECT_EQ(iterator->seek(idOf(vertex)), Acad::eInvalidInput);
    ASSERT_EQ(iterator->seek(idOf(inModel)), Acad::eOk);
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(iterator->getEntity(entity, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(entity->objectId(), idOf(inModel));
    EXPECT_TRUE(entity->isKindOf(AcDbCurve::desc()));
    entity->close();
    delete iterator;
    model->close();
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(Blocks, GetEntityOpensErasedOnesOnlyWhenAsked) {
    const std::wstring erased = addLine();
    ASSERT_TRUE(host.eraseObject(erased));
    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForRead);
    AcDbBlockTableRecordIterator* iterator = nullptr;
    ASSERT_EQ(model->newIterator(iterator, true, false), Acad::eOk);
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(iterator->getEntity(entity, AcDb::kForRead), Acad::eWasErased);
    EXPECT_EQ(entity, nullptr);
    ASSERT_EQ(iterator->getEntity(entity, AcDb::kForRead, true), Acad::eOk);
    entity->close();
    delete iterator;
    model->close();
}

}  // namespace
