// The main window in folder mode, runs done at once by a synchronous runner, and helpers that
// pick folders, tick rows and click file names as a user would.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {

class FolderTest : public WindowTest {
  protected:
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
    FolderDlg& dlg() { return ws->folder().picker(); }
    FolderScope& folder() { return ws->folder(); }

    void tick(long long row, bool on) { w->onFileTicked(row, on); }
    void clickRow(long long row) {
        w->onBeforeNavigate(Pane::ListView,
                            program.folder() + u"lib/list.tmp#" + fromUtf8(std::to_string(row)));
        settle();
    }
    // Backups into the folder's "bak/", as these tests look for them.
    void backUpIntoBak() {
        changeOptions(*w, [](Options& o) {
            o.backupOnReplace = true;
            o.backupFolder = u"bak";
        });
    }
    // Types both boxes and presses Replace; the run is done at once.
    void replaceAll(const std::u16string& from, const std::u16string& to) {
        w->typeText("inRepFrom", from);
        w->typeText("inRepWith", to);
        w->click("btnReplace");
        settle();
    }
    void findAll(const std::u16string& pattern) {
        w->typeText("inRepFrom", pattern);
        w->click("btnFind");
        settle();
    }

    PaneModel& table() { return w->pane(Pane::ListView); }
    std::string cellOf(std::size_t index) { return u8(table().cellText(kFileTableId, index)); }
    std::string nameOf(std::size_t row) { return cellOf(row * 7 + 1); }
    std::string matchesOf(std::size_t row) { return cellOf(row * 7 + 2); }
    std::string statusOf(std::size_t row) { return cellOf(row * 7 + 3); }
};

}  // namespace lodestar::testing
