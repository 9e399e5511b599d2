// The main window with its folder mode, runs done at once by a synchronous runner, and helpers
// that pick folders, tick rows and click file names as a user would.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fakes/sync_work_runner.h"
#include "forms/folder/folder_mode.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {

class FolderTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        mode = std::make_unique<FolderMode>(*w, prompts, runner, docs.folder(),
                                            std::vector<std::u16string>{u"/"});
    }
    void TearDown() override { mode.reset(); }

    // Puts the files into the documents folder and opens it through the picker's OK.
    void openFolder(const std::vector<std::pair<std::string, std::string>>& files,
                    int filterIndex = 0) {
        for (const auto& [name, bytes] : files) put(name, bytes);
        w->click("btnOpenFolder");
        dlg().select("filter", filterIndex);
        dlg().typeText("Dir1", docs.folder());
        dlg().click("btnOK");
        settle();
    }
    FolderDlg& dlg() { return mode->picker(); }

    void tick(long long row, bool on) { w->onFileTicked(row, on); }
    void clickRow(long long row) {
        w->onBeforeNavigate(Pane::ListView,
                            program.folder() + u"lib/list.tmp#" + fromUtf8(std::to_string(row)));
        settle();
    }
    void findAll(const std::u16string& pattern) {
        w->typeText("inRepFrom", pattern);
        w->click("btnFind");
        settle();
    }

    PaneModel& table() { return w->pane(Pane::ListView); }
    std::string cellOf(std::size_t index) { return u8(table().cellText(kFileTableId, index)); }
    std::string matchesOf(std::size_t row) { return cellOf(row * 7 + 2); }
    std::string statusOf(std::size_t row) { return cellOf(row * 7 + 3); }

    fakes::SyncWorkRunner runner;
    std::unique_ptr<FolderMode> mode;
};

}  // namespace lodestar::testing
