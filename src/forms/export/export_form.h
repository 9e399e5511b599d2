// The export dialog "frmExport": the output type, the delimiter or HTML wrapper, the export file,
// and the Export command that checks the file's folder and runs the extraction over the main
// window's current file or the ticked files of its folder search.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/delimiters.h"
#include "files/file_sink.h"
#include "forms/model/form.h"
#include "forms/ports/export_port.h"
#include "platform/work_runner.h"

namespace lodestar {

class ExportForm : public Form {
  public:
    // Fills the type list and selects TXT, which fills the delimiter list.
    ExportForm(ExportPort& window, Prompts& prompts);

    // Where the extraction runs; without one it runs at once on the caller's thread.
    void setWorkRunner(WorkRunner* runner) { runner_ = runner ? runner : &immediate_; }

    ExportType exType() const { return static_cast<ExportType>(exType_); }
    const DelimiterTable& delimiters() const { return table_; }
    const std::u16string& exFileName() const { return exFileName_; }

    // The Export command: checks the file name and its folder, then runs the extraction.
    void exportMatches();
    // The Set command: the Save As dialog with the type's filter, and the overwrite question.
    void chooseFile();

  protected:
    void onClick(const std::string& control) override;
    void onSelect(const std::string& control) override;

  private:
    void typeChanged();
    void delimiterChanged();
    ExportPort& window_;
    int exType_ = 0;
    DelimiterTable table_;
    std::u16string exFileName_;
    std::u16string overwriteAllowed_;  // the existing file the user agreed to overwrite
    ImmediateWorkRunner immediate_;
    WorkRunner* runner_ = &immediate_;
};

}  // namespace lodestar
