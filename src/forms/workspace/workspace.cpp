#include "forms/workspace/workspace.h"

#include <utility>

#include "forms/model/control_ids.h"

namespace lodestar {

Workspace::Workspace(std::u16string programFolder, WorkspaceServices services,
                     std::u16string pickerStart, std::vector<std::u16string> drives) {
    WorkRunner& runs = services.runs ? *services.runs : immediate_;
    window_ = std::make_unique<MainWindow>(
        std::move(programFolder),
        WindowServices{services.prompts, services.clipboard, services.timer, services.shell});
    window_->setWorkRunner(services.jobs);
    window_->setShowForm([this](const std::string& name) { showForm(name); });
    folder_ = std::make_unique<FolderScope>(*window_, services.prompts, runs,
                                            std::move(pickerStart), std::move(drives));
    window_->setFolderWork(folder_.get());
    export_ = std::make_unique<ExportForm>(*window_, services.prompts);
    export_->setWorkRunner(&runs);  // in line with the folder runs
    options_ = std::make_unique<OptionSetting>(*window_, services.prompts);
    assistant_ =
        std::make_unique<RegAssist>(*window_, services.prompts, window_->programFolder() + u"lib/");
}

Workspace::~Workspace() {
    window_->setFolderWork(nullptr);
    window_->setShowForm(nullptr);
}

void Workspace::showForm(const std::string& name) {
    if (name == export_ids::frmExport) export_->show();
    if (name == options_ids::OptionSetting) options_->open();
    if (name == assist_ids::RegAssist) assistant_->open();
    if (name == "About" && showAbout) showAbout();
    if (name == "UsedRegexps" && showUsedRegexps) showUsedRegexps();
}

}  // namespace lodestar
