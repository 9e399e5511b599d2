// Building the script call of a batch of cell changes as the changes come.
#include "ui/cell_batch.h"

namespace lodestar::ui {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendEscape(QString& out, char16_t c) {
    const char escape[] = {
        '\\',         'u', kHex[(c >> 12) & 0xf], kHex[(c >> 8) & 0xf], kHex[(c >> 4) & 0xf],
        kHex[c & 0xf]};
    out.append(QLatin1String(escape, sizeof escape));
}

bool isHigh(char16_t c) {
    return c >= 0xd800 && c <= 0xdbff;
}
bool isLow(char16_t c) {
    return c >= 0xdc00 && c <= 0xdfff;
}
// Quotes, backslashes, controls, the two line separators (which end a line of script) and
// surrogates; a surrogate that is half of a pair is taken with its other half before this.
bool needsEscape(char16_t c) {
    return c < 0x20 || c == u'"' || c == u'\\' || c == 0x2028 || c == 0x2029 || isHigh(c) ||
           isLow(c);
}

}  // namespace

void appendJsonString(QString& out, std::u16string_view text) {
    out.reserve(out.size() + static_cast<qsizetype>(text.size()) + 2);
    out.append(u'"');
    std::size_t plainFrom = 0;
    const auto flush = [&](std::size_t to) {
        if (to > plainFrom)
            out.append(reinterpret_cast<const QChar*>(text.data() + plainFrom),
                       static_cast<qsizetype>(to - plainFrom));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
            ++i;  // a whole pair is an ordinary character
            continue;
        }
        if (!needsEscape(c)) continue;
        flush(i);
        plainFrom = i + 1;
        if (c == u'"' || c == u'\\') {
            out.append(u'\\');
            out.append(QChar(c));
        } else if (c == u'\n') {
            out.append(QLatin1String("\\n"));
        } else {
            appendEscape(out, c);
        }
    }
    flush(text.size());
    out.append(u'"');
}

void CellBatch::add(std::u16string_view tableId, std::size_t index, std::u16string_view content,
                    bool html) {
    text_.append(count_ == 0 ? u'[' : u',');
    appendJsonString(text_, tableId);
    text_.append(u',');
    text_.append(QString::number(static_cast<qulonglong>(index)));
    text_.append(u',');
    appendJsonString(text_, content);
    text_.append(html ? QLatin1String(",true") : QLatin1String(",false"));
    ++count_;
}

void CellBatch::clear() {
    text_.clear();
    count_ = 0;
}

QString CellBatch::takeCall() {
    QString call = QStringLiteral("__lodestarPane.setCells.apply(null, [") +
                   (count_ == 0 ? QStringLiteral("[") : text_) + QStringLiteral("]])");
    clear();
    return call;
}

}  // namespace lodestar::ui
