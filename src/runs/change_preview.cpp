#include "runs/change_preview.h"

#include <algorithm>

namespace lodestar {

std::size_t FileChanges::tickedCount() const {
    return static_cast<std::size_t>(std::count(ticked.begin(), ticked.end(), true));
}

FileChanges changesOf(FilePreview preview) {
    FileChanges file;
    file.row = preview.row;
    file.path = std::move(preview.path);
    file.format = preview.format;
    file.before = std::make_shared<const std::u16string>(std::move(preview.before));
    file.after = std::make_shared<const std::u16string>(std::move(preview.text));
    file.changes = changesBetween(*file.before, *file.after);
    file.ticked.assign(file.changes.size(), true);
    return file;
}

TickedChangesTransform::TickedChangesTransform(FileRun run, std::vector<FileChanges> files)
    : run_(run) {
    auto byPath = std::make_shared<std::map<std::u16string, FileChanges>>();
    for (FileChanges& file : files) {
        std::u16string path = file.path;
        byPath->insert_or_assign(std::move(path), std::move(file));
    }
    files_ = std::move(byPath);
}

std::optional<std::u16string> TickedChangesTransform::applyTo(const std::u16string& path,
                                                              std::u16string_view text) {
    const auto found = files_->find(path);
    if (found == files_->end()) return std::u16string(text);
    if (*found->second.before != text) return std::nullopt;
    return found->second.textToWrite();
}

}  // namespace lodestar
