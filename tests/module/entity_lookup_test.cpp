// GetEntity: model-space entities by handle text, open for read; paper space, erased and unknown
// handles leave nothing found and nothing open, with the failing step. (Every failing host call of
// the lookup is met through the functions that look up, with the injected failures.)
#include <string>

#include "input/entity_lookup.h"
#include "module_fixture.h"
#include "support/error_lines.h"

namespace {

class EntityLookupTest : public ModuleTest {
protected:
    static std::wstring AddMesh(const std::wstring& space = L"model") {
        return host().addSubDMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, L"0", space);
    }
};

TEST_F(EntityLookupTest, ModelSpaceEntityIsOpenedForRead) {
    AddMesh();
    const std::wstring handle = AddMesh();
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(GetEntity(entity, handle.c_str()), 0);
    ASSERT_NE(entity, nullptr);
    AcDbHandle found;
    entity->getAcDbHandle(found);
    EXPECT_EQ(kafhost::handleText(found.value()), handle);
    EXPECT_TRUE(entity->isReadEnabled());
    EXPECT_FALSE(entity->isWriteEnabled());
    EXPECT_EQ(host().openObjectCount(), 1u);
    entity->close();
    EXPECT_EQ(host().openObjectCount(), 0u);
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(EntityLookupTest, PaperSpaceErasedAndUnknownHandlesFindNothing) {
    const std::wstring paper = AddMesh(L"paper");
    const std::wstring erased = AddMesh();
    ASSERT_TRUE(host().eraseObject(erased));
    const struct {
        std::wstring handle;
        std::wstring printed;
    } cases[] = {
        {paper, StepLine(L"GetEntity:seek", Acad::eInvalidInput)},
        {erased, StepLine(L"GetEntity:seek", Acad::eInvalidInput)},
        {L"FFFF", StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle)},
    };
    for (const auto& c : cases) {
        host().clearCommandLine();
        AcDbEntity* entity = nullptr;
        EXPECT_EQ(GetEntity(entity, c.handle.c_str()), 0);
        EXPECT_EQ(entity, nullptr);
        EXPECT_EQ(host().commandLine(), c.printed);
        EXPECT_EQ(host().openObjectCount(), 0u);
    }
}

}  // namespace
