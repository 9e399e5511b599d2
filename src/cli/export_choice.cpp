// Choosing the export format and delimiter for `extract` from the dialog's own lists.
#include "cli/export_choice.h"

#include "core/text.h"
#include "export/delimiters.h"
#include "export/formats.h"

namespace lodestar::cli {

ExportFormatter exportFormatter(const std::string& format,
                                const std::optional<std::string>& delimiter) {
    const ExportType type = format == "html"  ? ExportType::Html
                            : format == "xml" ? ExportType::Xml
                                              : ExportType::Text;
    const DelimiterTable table = delimitersFor(type);
    int index = 0;
    std::u16string text = table.values.empty() ? std::u16string() : table.values.front();
    if (delimiter) {
        const std::u16string given = fromUtf8(*delimiter);
        text = given;
        index = -1;
        for (std::size_t i = 0; i < table.names.size() && i < table.values.size(); ++i) {
            if (table.names[i] == given) text = table.values[i];
            if (table.names[i] == given || table.values[i] == given) {
                index = static_cast<int>(i);
                break;
            }
        }
    }
    return [type, text, index](const std::vector<std::u16string>& items) {
        return formatExtraction(type, items, text, index);
    };
}

}  // namespace lodestar::cli
