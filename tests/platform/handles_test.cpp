// Handles: their texts, uniqueness, and looking objects up by handle.
#include "host_fixture.h"

namespace {

using kafhost::EntityKind;

using kafhost::handleText;
using kafhost::parseHandle;

class Handles : public HostFixture {};

TEST_F(Handles, TextsAreUpperCaseHexadecimalWithoutLeadingZeros) {
    EXPECT_EQ(handleText(0x2A), L"2A");
    EXPECT_EQ(handleText(0), L"0");
    EXPECT_EQ(handleText(0xFFFFFFFFFFFFFFFFull), L"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(parseHandle(L"2a"), 0x2Au);
    EXPECT_EQ(parseHandle(L"002A"), 0x2Au);
    EXPECT_EQ(parseHandle(L"2G"), 0u);
    EXPECT_EQ(parseHandle(L""), 0u);
    EXPECT_EQ(parseHandle(L" 2A"), 0u);
    EXPECT_EQ(parseHandle(L"10000000000000000"), 0u);  // 17 digits
}

TEST_F(Handles, AcDbHandleReadsAndWritesText) {
    EXPECT_EQ(AcDbHandle(L"1f").value(), 0x1Fu);
    EXPECT_TRUE(AcDbHandle(L"xyz").isNull());
    ACHAR buffer[17];
    ASSERT_TRUE(AcDbHandle(0xABCDEF0123456789ull).getIntoAsciiBuffer(buffer));
    EXPECT_EQ(std::wstring(buffer), L"ABCDEF0123456789");
    ACHAR small[2];
    EXPECT_FALSE(AcDbHandle(0x2A).getIntoAsciiBuffer(small, 2));
}

TEST_F(Handles, NewEntitiesGetHandlesFrom20NeverReusedAndAboveAGivenOne) {
    const auto add = [this](const std::wstring& handle = L"") {
        return host.addPolyline({{0, 0}, {1, 0}}, 0.0, false, L"0", L"model", handle);
    };
    const std::wstring first = add();
    EXPECT_EQ(first, L"20");
    const std::wstring second = add();
    EXPECT_NE(first, second);
    ASSERT_TRUE(host.eraseObject(second));
    EXPECT_GT(parseHandle(add()), parseHandle(second));
    EXPECT_EQ(add(L"FFF"), L"FFF");
    EXPECT_EQ(add(), L"1000");
    // A reset starts the numbering again.
    host.reset();
    EXPECT_EQ(add(), first);
}

TEST_F(Handles, HandlesNearTheEndOfTheRangeAreRefusedAndNoneIsGivenTwice) {
    const std::wstring tooLarge =
        L"handle FFFFFFFF00000001 is too large: kafcad takes handles up to FFFFFFFF00000000";
    kafhost::EntityInfo line;
    line.type = EntityKind::kPolyline;
    line.handle = L"FFFFFFFF00000001";
    std::wstring error;
    EXPECT_EQ(host.addEntity(line, error), L"");
    EXPECT_EQ(error, tooLarge);

    kafhost::DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}};
    drawing.entities = {line};
    EXPECT_FALSE(host.loadSnapshot(drawing, error));
    EXPECT_EQ(error, tooLarge);
    drawing.entities.clear();
    drawing.nextHandle = 0xFFFFFFFFFFFFFFFFull;
    EXPECT_FALSE(host.loadSnapshot(drawing, error));
    EXPECT_EQ(error,
              L"the next handle FFFFFFFFFFFFFFFF is too large: kafcad takes handles up to "
              L"FFFFFFFF00000000");

    // The last handles are given once, then no more: nothing wraps round to handles in use.
    line.handle = L"FFFFFFFEFFFFFFFF";
    drawing.nextHandle = 0;
    drawing.entities = {line};
    ASSERT_TRUE(host.loadSnapshot(drawing, error));
    line.handle.clear();
    EXPECT_EQ(host.addEntity(line, error), L"FFFFFFFF00000000");
    EXPECT_EQ(host.addEntity(line, error), L"");
    EXPECT_EQ(error,
              L"the drawing has no handle left to give (kafcad gives handles up to "
              L"FFFFFFFF00000000)");
}

TEST_F(Handles, AGivenHandleInUseIsRefusedAlsoASubEntitysOrTheBlockTables) {
    const std::wstring used = host.addPolyline({{0, 0}, {1, 0}}, 0.0, false);
    const std::wstring mesh =
        host.addPolyFaceMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3, 0}});
    const std::wstring vertex = handleText(parseHandle(mesh) + 1);
    AcDbObjectId id;
    EXPECT_EQ(database()->getAcDbObjectId(id, false, AcDbHandle(vertex.c_str())), Acad::eOk);
    kafhost::EntityInfo line;
    line.type = EntityKind::kPolyline;
    line.handle = used;
    std::wstring error;
    EXPECT_EQ(host.addEntity(line, error), L"");
    EXPECT_EQ(error, L"handle " + used + L" is already in use");
    for (const std::wstring& handle : {vertex, std::wstring(L"1")}) {
        line.handle = handle;
        EXPECT_EQ(host.addEntity(line, error), L"") << narrow(handle);
    }
}

TEST_F(Handles, ObjectIdOfAnUnknownHandleIsRefused) {
    AcDbObjectId id;
    EXPECT_EQ(database()->getAcDbObjectId(id, false, AcDbHandle(L"5")), Acad::eUnknownHandle);
    EXPECT_EQ(database()->getAcDbObjectId(id, false, AcDbHandle()), Acad::eUnknownHandle);
    EXPECT_TRUE(id.isNull());
    EXPECT_EQ(database()->getAcDbObjectId(id, true, AcDbHandle(L"5")), Acad::eOk);
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eUnknownHandle);
    EXPECT_EQ(acdbOpenAcDbObject(object, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
}

}  // namespace
