// The export dialog's controls and behaviour.
#include "forms/export/export_form.h"

#include <memory>
#include <new>

#include "core/stop_token.h"
#include "core/text.h"
#include "export/formats.h"
#include "files/paths.h"
#include "files/same_file.h"
#include "forms/model/app_title.h"
#include "forms/model/control_ids.h"
#include "forms/model/progress_bar.h"
#include "runs/extraction.h"

namespace lodestar {

namespace {

constexpr char16_t kConfirmCaption[] = u" Please confirm";

Control make(ControlId name, ControlKind kind, const char16_t* text, Rect geometry,
             std::string_view container = export_ids::frmExport) {
    return makeControl(name.str(), kind, text, geometry, std::string(container));
}

// The extraction's reports go to the window's log and status line, on the window's thread.
class WindowSink : public FileSink {
  public:
    WindowSink(ExportPort& window, WorkRunner& runner) : window_(window), runner_(runner) {}
    void fileDone(const FileOutcome&) override {}
    void logLine(std::u16string_view message) override {
        runner_.post([&w = window_, line = std::u16string(message)] { w.logLine(line); });
    }
    void logError(std::u16string_view message, std::u16string_view cause) override {
        std::u16string entry(message);
        if (!cause.empty()) entry += u"\r\n" + std::u16string(cause);
        runner_.post([&w = window_, entry] { w.logError(entry); });
    }
    void showStatus(std::u16string_view text) override {
        runner_.post([&w = window_, status = std::u16string(text)] { w.showStatus(status); });
    }

  private:
    ExportPort& window_;
    WorkRunner& runner_;
};

}  // namespace

ExportForm::ExportForm(ExportPort& window, Prompts& prompts)
    : Form(export_ids::frmExport.str(), prompts), window_(window) {
    ControlModel& c = controls();
    c.add(make(export_ids::frmExport, ControlKind::Frame, u"Export", {0, 0, 5400, 3360}, ""));
    c.add(make(export_ids::lblType, ControlKind::Label, u"Type", {120, 180, 840, 255}));
    c.add(make(export_ids::selExType, ControlKind::Combo, u"", {1020, 120, 1500, 315}));
    c.add(
        make(export_ids::framDelimiter, ControlKind::Frame, u"Delimiter", {120, 600, 5160, 1260}));
    c.add(make(export_ids::lblSelect, ControlKind::Label, u"Select", {120, 360, 840, 255},
               export_ids::framDelimiter));
    c.add(make(export_ids::selDelimiter, ControlKind::Combo, u"", {1020, 300, 2400, 315},
               export_ids::framDelimiter));
    c.add(make(export_ids::lblInput, ControlKind::Label, u"or Input", {120, 810, 840, 255},
               export_ids::framDelimiter));
    c.add(make(export_ids::inDelimiter, ControlKind::TextBox, u"\\r\\n", {1020, 750, 2400, 315},
               export_ids::framDelimiter));
    c.add(make(export_ids::lblSaveTo, ControlKind::Label, u"Save to", {120, 2070, 840, 255}));
    c.add(make(export_ids::inExFileName, ControlKind::TextBox, u"", {1020, 2010, 3420, 315}));
    c.add(make(export_ids::setExFile, ControlKind::Button, u"Set", {4500, 2000, 780, 330}))
        .accessKey = u'S';
    c.add(make(export_ids::chkPlaces, ControlKind::CheckBox, u"With file, line and column",
               {1020, 2370, 4260, 255}))
        .accessKey = u'W';
    c.add(make(export_ids::btnOK, ControlKind::Button, u"Export", {2520, 2760, 1320, 375}))
        .accessKey = u'E';
    c.add(make(export_ids::btnCancel, ControlKind::Button, u"Cancel", {3960, 2760, 1320, 375}))
        .accessKey = u'C';
    setKeyButtons(export_ids::btnOK, export_ids::btnCancel);
    c.setItems(export_ids::selExType, exportTypeNames());
    select(export_ids::selExType.str(), 0);
}

void ExportForm::onClick(const std::string& control) {
    if (control == export_ids::setExFile || control == export_ids::inExFileName)
        chooseFile();
    else if (control == export_ids::btnOK)
        exportMatches();
    else if (control == export_ids::btnCancel)
        hide();
}

void ExportForm::onSelect(const std::string& control) {
    if (control == export_ids::selExType)
        typeChanged();
    else if (control == export_ids::selDelimiter)
        delimiterChanged();
}

void ExportForm::typeChanged() {
    ControlModel& c = controls();
    exType_ = std::max(0, c[export_ids::selExType].selected);
    const DelimiterTable next = delimitersFor(exType());
    // XML has one wrapper and no names: the list keeps the previous type's names, and the
    // delimiter's frame is hidden whole, as nothing in it applies.
    if (!next.names.empty()) table_.names = next.names;
    table_.values = next.values;
    c.setVisible(export_ids::framDelimiter, exType() != ExportType::Xml);
    c.setItems(export_ids::selDelimiter, table_.names);
    c.setSelected(export_ids::selDelimiter, -1);
    select(export_ids::selDelimiter.str(), 0);
}

void ExportForm::delimiterChanged() {
    const int index = controls()[export_ids::selDelimiter].selected;
    if (index < 0) return;
    const std::size_t at = static_cast<std::size_t>(index);
    // XML's single wrapper stands behind whichever (hidden) name is selected.
    const std::u16string& value = at < table_.values.size() ? table_.values[at] : table_.values[0];
    controls().setText(export_ids::inDelimiter, value);
}

void ExportForm::chooseFile() {
    const std::u16string path = trimSpaces(prompts().saveAs(saveDialogFilter(exType()), u""));
    if (path.empty()) return;
    exFileName_ = path;
    if (fileExists(path) && !prompts().okCancel(u"File exists, overwrite?", kConfirmCaption))
        return;
    overwriteAllowed_ = path;
    controls().setText(export_ids::inExFileName, path);
}

void ExportForm::exportMatches() {
    if (window_.running()) return;  // one run at a time
    exFileName_ = trimSpaces(controls()[export_ids::inExFileName].text);
    if (exFileName_.empty()) {
        prompts().message(u"Please specify your export file name.", kAppTitle);
        return;
    }
    // A name without a folder would land wherever the program happens to run: refused too.
    const std::u16string folder = ParentFolderOf(exFileName_);
    if (folder.empty() || exFileName_.front() != u'/' || !folderExists(folder)) {
        prompts().message(u"The folder does not exist.", kAppTitle);
        return;
    }

    const std::optional<SearchRequest> request = window_.readRequest();
    if (!request || request->empty()) return;
    const FolderFiles source = window_.exportTargets();
    if (isOneOfFiles(exFileName_, source.files)) {
        prompts().message(u"The export file is one of the searched files; choose another output.",
                          kAppTitle);
        return;
    }
    // A name typed into the box is asked about as the Save As dialog's choice is.
    if (fileExists(exFileName_) && exFileName_ != overwriteAllowed_ &&
        !prompts().okCancel(u"File exists, overwrite?", kConfirmCaption))
        return;
    overwriteAllowed_.clear();

    ExtractTarget target;
    target.path = exFileName_;
    const ExportType type = exType();
    const std::u16string delimiter = controls()[export_ids::inDelimiter].text;
    const int selected = controls()[export_ids::selDelimiter].selected;
    target.format = [type, delimiter, selected](const std::vector<std::u16string>& items) {
        return formatExtraction(type, items, delimiter, selected);
    };
    if (controls()[export_ids::chkPlaces].checked)
        target.placedFormat = [type, delimiter](const std::vector<std::u16string>& items,
                                                const std::vector<ItemPlace>& places) {
            return formatPlacedExtraction(type, items, places, delimiter);
        };
    const auto stop = std::make_shared<StopToken>();
    auto steps = std::make_shared<PercentSteps>();
    target.progress = [this, steps](std::size_t done, std::size_t total) {
        if (const std::optional<int> percent = steps->next(done, total))
            runner_->post([this, percent = *percent] { window_.showProgress(percent, 100); });
    };
    auto sink = std::make_shared<WindowSink>(window_, *runner_);
    auto summary = std::make_shared<ExtractSummary>();
    controls().setEnabled(export_ids::btnOK, false);
    window_.setRunning(true, [stop] { stop->request(); });
    runner_->start(
        [summary, sink, stop, target, source, expr = request->expression(),
         pattern = request->searchPattern(), reading = window_.textReading()] {
            try {
                *summary = ExtractAll(expr, pattern, source.files, source.lastSearchTotal, target,
                                      *sink, reading, stop.get());
            } catch (const std::bad_alloc&) {
                sink->logError(kExtractErrorMessage, u"Not enough memory for the matches.");
                summary->result = ExtractResult::Failed;
            }
        },
        [this, summary] {
            window_.showProgress(0, 0);
            window_.setRunning(false);
            controls().setEnabled(export_ids::btnOK, true);
            if (summary->result != ExtractResult::Saved) return;
            prompts().message(u"Extraction finished.", kAppTitle);
            hide();
        });
}

}  // namespace lodestar
