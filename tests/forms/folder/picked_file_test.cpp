// A file picked in the table is read on the worker: nothing of it shows before the read ends, a
// newer pick wins over one still being read, and Esc goes back to the file still shown.
#include "fakes/deferred_work_runner.h"
#include "forms/folder/folder_fixture.h"

namespace lodestar::testing {
namespace {

struct PickedFile : FolderTest {
    void SetUp() override {
        FolderTest::SetUp();
        openFolder({{"a.htm", "alpha a"},
                    {"b.htm", "bravo"},
                    {"c.htm", "charlie a a"},
                    {"d.htm", "echo echo"}});
        findAll(u"a");
        clickRow(1);
        w->setWorkRunner(&jobs);
    }
    // The file the source view shows, its marks and list entries, and the row and name picked.
    void shows(const std::string& body, std::size_t marks, long long row, const std::string& name) {
        EXPECT_EQ(u8(source().bodyText()), body);
        EXPECT_EQ(source().markCount(), marks);
        EXPECT_EQ(matches().entryCount(), marks);
        EXPECT_EQ(folder().selectedRow(), row);
        EXPECT_EQ(text("LblCurName"), u8(docs.file(name)));
        EXPECT_EQ(table().rowBackground(kFileTableId, static_cast<std::size_t>(row)), u"yellow");
    }
    fakes::DeferredWorkRunner jobs;
};

TEST_F(PickedFile, IsShownOnlyOnceReadAndANewerPickWins) {
    clickRow(4);  // no match in it: the text alone
    EXPECT_TRUE(w->working());
    shows("alpha a", 3, 4, "d.htm");  // the row and name follow at once, the text does not
    clickRow(3);
    EXPECT_EQ(u8(w->document().text), "alpha a");
    EXPECT_EQ(table().rowBackground(kFileTableId, 4), u"rgb(230,230,230)");
    jobs.finishAll();
    shows("charlie a a", 3, 3, "c.htm");
    EXPECT_FALSE(w->working());
    EXPECT_EQ(c("pgBarFore").geometry.width, 0);
}

TEST_F(PickedFile, EscGoesBackToTheFileStillShown) {
    clickRow(2);
    clickRow(3);
    w->cancelWork();
    jobs.finishAll();
    shows("alpha a", 3, 1, "a.htm");
    EXPECT_EQ(table().rowBackground(kFileTableId, 3), u"white");
    EXPECT_EQ(text("lblStatus"), "Stopped.");
    clickRow(3);  // the row dropped by Esc can be picked again
    jobs.finishAll();
    shows("charlie a a", 3, 3, "c.htm");
    clickRow(4);
    jobs.finishAll();
    shows("echo echo", 0, 4, "d.htm");
    w->click("btnViewIn");  // read again for the new view though it has nothing to mark
    jobs.finishAll();
    EXPECT_EQ(u8(source().bodyText()), "echo\u00B7echo");
}

}  // namespace
}  // namespace lodestar::testing
