// Making one chosen host call fail.
#include "host_fixture.h"

namespace {

using kafhost::HostCall;

class FaultInjection : public HostFixture {};

TEST_F(FaultInjection, FailsExactlyTheChosenOccurrence) {
    host.failCall(HostCall::kGetSymbolTable, 2, Acad::eOutOfMemory);
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOutOfMemory);
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_EQ(host.callCount(HostCall::kGetSymbolTable), 3u);
    // Cleared faults fail nothing.
    host.failCall(HostCall::kGetSymbolTable);
    host.clearFaults();
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(FaultInjection, DrawingCallsGiveTheChosenStatus) {
    const std::wstring handle = host.addSubDMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    host.failCall(HostCall::kBlockTableGetAt, 1, Acad::eKeyNotFound);
    EXPECT_EQ(openBlock(ACDB_MODEL_SPACE, AcDb::kForWrite), nullptr);

    host.failCall(HostCall::kGetAcDbObjectId, 1, Acad::eInvalidInput);
    AcDbObjectId id;
    EXPECT_EQ(database()->getAcDbObjectId(id, false, AcDbHandle(handle.c_str())),
              Acad::eInvalidInput);
    id = idOf(handle);

    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForWrite);
    ASSERT_NE(model, nullptr);
    AcDbBlockTableRecordIterator* iterator = nullptr;
    host.failCall(HostCall::kNewIterator, 1, Acad::eOutOfMemory);
    EXPECT_EQ(model->newIterator(iterator), Acad::eOutOfMemory);
    EXPECT_EQ(iterator, nullptr);
    ASSERT_EQ(model->newIterator(iterator), Acad::eOk);
    host.failCall(HostCall::kIteratorSeek, 1, Acad::eInvalidInput);
    EXPECT_EQ(iterator->seek(id), Acad::eInvalidInput);
    ASSERT_EQ(iterator->seek(id), Acad::eOk);
    AcDbEntity* entity = nullptr;
    host.failCall(HostCall::kIteratorGetEntity, 1, Acad::eWasOpenedForWrite);
    EXPECT_EQ(iterator->getEntity(entity), Acad::eWasOpenedForWrite);
    delete iterator;

    AcDbSubDMesh mesh;
    host.failCall(HostCall::kSetLayer, 1, Acad::eInvalidLayer);
    EXPECT_EQ(mesh.setLayer(L"0"), Acad::eInvalidLayer);
    host.failCall(HostCall::kAppendAcDbEntity, 1, Acad::eOutOfMemory);
    EXPECT_EQ(model->appendAcDbEntity(&mesh), Acad::eOutOfMemory);
    model->close();

    AcDbObject* object = nullptr;
    host.failCall(HostCall::kOpenAcDbObject, 1, Acad::eAtMaxReaders);
    EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eAtMaxReaders);
    ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eOk);
    host.failCall(HostCall::kUpgradeOpen, 1, Acad::eLockViolation);
    EXPECT_EQ(object->upgradeOpen(), Acad::eLockViolation);
    EXPECT_FALSE(object->isWriteEnabled());
    host.failCall(HostCall::kSetVertexColorArray, 1, Acad::eOutOfMemory);
    ASSERT_EQ(object->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(static_cast<AcDbSubDMesh*>(object)->setVertexColorArray({}), Acad::eOutOfMemory);
    object->close();
    EXPECT_EQ(host.openObjectCount(), 1u);  // the unappended mesh on the stack
}

TEST_F(FaultInjection, SetSubDMeshThrowsAWideText) {
    AcDbSubDMesh mesh;
    host.failCall(HostCall::kSetSubDMesh);
    try {
        mesh.setSubDMesh(AcGePoint3dArray(), AcArray<Adesk::Int32>(), 0);
        FAIL() << "nothing thrown";
    } catch (const wchar_t* text) {
        EXPECT_NE(std::wstring(text), L"");
    }
    EXPECT_EQ(mesh.setSubDMesh(AcGePoint3dArray(), AcArray<Adesk::Int32>(), 0), Acad::eOk);
}

TEST_F(FaultInjection, BridgeAndWindowCalls) {
    host.failCall(HostCall::kAcutNewRb, 2);
    resbuf* first = acutNewRb(RTLB);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(acutNewRb(RTLE), nullptr);
    acutRelRb(first);

    const AcedFilterWinMsgFn filter = [](MSG*) { return false; };
    host.failCall(HostCall::kRegisterFilterWinMsg);
    EXPECT_FALSE(acedRegisterFilterWinMsg(filter));
    EXPECT_TRUE(acedRegisterFilterWinMsg(filter));
    host.failCall(HostCall::kRemoveFilterWinMsg);
    EXPECT_FALSE(acedRemoveFilterWinMsg(filter));
    EXPECT_TRUE(acedRemoveFilterWinMsg(filter));

    acedSetStatusBarProgressMeter(L"Please wait: ", 0, 100);
    host.failCall(HostCall::kSetStatusBarProgressPos);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(10), -1);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(10), 0);
}

}  // namespace
