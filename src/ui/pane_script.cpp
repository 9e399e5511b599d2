// Building pane script calls and loading the scripts installed in the pages.
#include "ui/pane_script.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

// The resources of a static library are registered by hand, outside any namespace.
static void registerUiResources() {
    Q_INIT_RESOURCE(ui_resources);
}

namespace lodestar::ui {

void ensureUiResources() {
    static const bool done = (registerUiResources(), true);
    (void)done;
}

namespace {
QString resourceText(const QString& path) {
    ensureUiResources();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}
}  // namespace

QString paneCall(const char* function, const QVariantList& arguments) {
    const QByteArray json =
        QJsonDocument(QJsonArray::fromVariantList(arguments)).toJson(QJsonDocument::Compact);
    return QStringLiteral("__lodestarPane.") + QLatin1String(function) +
           QStringLiteral(".apply(null, ") + QString::fromUtf8(json) + u')';
}

QString paneApiScript() {
    return resourceText(QStringLiteral(":/lodestar/pane_api.js"));
}

QString paneBridgeScript() {
    return resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + u'\n' +
           resourceText(QStringLiteral(":/lodestar/pane_bridge.js"));
}

}  // namespace lodestar::ui
