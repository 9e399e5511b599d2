// Dialog filter conversion.
#include "ui/file_filter.h"

#include <QRegularExpression>

namespace lodestar::ui {

QStringList nameFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i].trimmed();
        // A label that already names its patterns in brackets gets them once, from the list.
        static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        label.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << (t == QStringLiteral("*.*") ? QStringLiteral("*") : t);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        if (label.isEmpty()) label = QStringLiteral("Files");
        out << label + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    if (out.isEmpty()) out << QStringLiteral("Any file (*)");
    return out;
}

}  // namespace lodestar::ui
