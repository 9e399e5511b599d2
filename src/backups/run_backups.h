// The backups of one folder run, shared by the replace and the batch run: the backup folder the
// run owns, its journal, and a backup for exactly the files the run rewrites, made just before
// their new contents are put in place.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backups/backup_folder.h"
#include "backups/commit_queue.h"
#include "backups/run_journal.h"
#include "files/file_sink.h"

namespace lodestar {

class RunBackups {
  public:
    // `name` is the backup folder name asked for (empty: "bak"); `goOn` goes on with a run of
    // the folder that did not finish, keeping the backups of the files it changed.
    // `kind` names the run in its journal ("replace", "batch").
    // `keep` runs of the folder stay for Restore to take back.
    RunBackups(std::u16string_view currentFolder, std::u16string_view name, bool goOn,
               std::u16string_view kind = u"replace", std::size_t keep = 10);

    // Before the first file: chooses the backup folder (a note when the asked-for name is
    // taken) and refuses, with kUnfinishedRunMessage logged, when the last run did not finish
    // and the run does not go on with it. Throws BackupError for a refused folder.
    bool ready(FileSink& sink);

    const std::u16string& folder() const { return choice_.path; }

    // The commit queue's hooks: back up the steps about to be placed, then follow each one.
    void backUp(std::vector<FileStep>& steps);
    // `madeWritable`: the run cleared the file's read-only bit; its backup keeps the bit.
    void placed(const FileStep& step, bool madeWritable);
    void changedElsewhere(const FileStep& step);
    void dropped(const FileStep& step);

    // The run ended, completely or by a stop request: its journal is finished.
    void finish();
    // The run stopped on a failure: the backups of files it did not change go, and the journal
    // stays unfinished, so the next run is refused until the folder is restored (or goes on).
    void failed();

  private:
    std::u16string nameOf(const std::u16string& path) const;
    void forget(const std::u16string& name);

    std::u16string currentFolder_;
    std::u16string askedName_;
    bool goOn_;
    std::u16string kind_;
    std::size_t keep_;
    BackupFolderChoice choice_;
    std::optional<RunJournal> journal_;
    // Backed up by this run and not yet put in place.
    std::vector<std::u16string> waiting_;
};

}  // namespace lodestar
