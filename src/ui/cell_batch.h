// Cell changes waiting for a page, kept as the text of the script call they travel in. A folder
// run changes a cell or two of every file: writing each change's JSON as it comes costs far
// less than a list of variants turned into JSON at once when the batch leaves.
#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

namespace lodestar::ui {

class CellBatch {
  public:
    void add(std::u16string_view tableId, std::size_t index, std::u16string_view content,
             bool html);
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    void clear();
    // "__lodestarPane.setCells.apply(null, [[table, index, content, html, ...]])", the changes
    // in the order they came; the batch is empty afterwards.
    QString takeCall();

  private:
    QString text_;
    std::size_t count_ = 0;
};

// `text` as a JSON string literal (quotes included) at the end of `out`. Quotes, backslashes,
// control characters, the two line separators and lone surrogates are escaped, so the literal
// is valid JSON and valid script and decodes to exactly `text`.
void appendJsonString(QString& out, std::u16string_view text);

}  // namespace lodestar::ui
