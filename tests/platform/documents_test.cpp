// Documents: each has its own drawing and functions; reactors hear of them.
#include "host_fixture.h"

namespace {

struct RecordingReactor : AcApDocManagerReactor {
    std::vector<std::pair<std::string, AcApDocument*>> heard;
    void documentCreated(AcApDocument* d) override { heard.push_back({"created", d}); }
    void documentActivated(AcApDocument* d) override { heard.push_back({"activated", d}); }
    void documentToBeDestroyed(AcApDocument* d) override { heard.push_back({"destroyed", d}); }
};

class Documents : public HostFixture {};

TEST_F(Documents, EachDocumentHasItsOwnDrawingAndFunctions) {
    AcApDocument* first = host.currentDocument();
    acedDefun(L"only-in-first", 1);
    host.addLayer(L"TIN");
    AcApDocument* second = host.newDocument(L"Survey");
    EXPECT_EQ(host.documentName(second), L"Survey");
    EXPECT_EQ(host.currentDocument(), second);
    EXPECT_EQ(acDocManagerPtr()->curDocument(), second);
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), host.documentDatabase(second));
    EXPECT_NE(host.documentDatabase(first), host.documentDatabase(second));
    EXPECT_FALSE(host.isDefined(L"only-in-first"));
    EXPECT_EQ(host.layers().size(), 1u);
    ASSERT_TRUE(host.closeDocument(second));
    EXPECT_EQ(host.currentDocument(), first);
    EXPECT_TRUE(host.isDefined(L"only-in-first"));
    EXPECT_EQ(host.layers().size(), 2u);
}

TEST_F(Documents, ReactorsHearCreationActivationAndDestruction) {
    RecordingReactor reactor;
    acDocManagerPtr()->addReactor(&reactor);
    AcApDocument* first = host.currentDocument();
    AcApDocument* second = host.newDocument();
    host.closeDocument(second);
    acDocManagerPtr()->removeReactor(&reactor);
    host.newDocument();
    host.closeDocument(host.currentDocument());
    const std::vector<std::pair<std::string, AcApDocument*>> expected = {
        {"created", second}, {"activated", second}, {"destroyed", second}, {"activated", first}};
    EXPECT_EQ(reactor.heard, expected);
}

TEST_F(Documents, ShutDownManagerIsNull) {
    host.setDocumentManagerShutDown(true);
    EXPECT_EQ(acDocManagerPtr(), nullptr);
    host.setDocumentManagerShutDown(false);
    EXPECT_NE(acDocManagerPtr(), nullptr);
}

}  // namespace
