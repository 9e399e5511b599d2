// The panes' profile, its request filter and the navigation policy of a pane page.
#include "ui/pane_page.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

#include "ui/pane_script.h"

namespace lodestar::ui {

namespace {

class LocalOnly : public QWebEngineUrlRequestInterceptor {
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!isLocalScheme(info.requestUrl())) info.block(true);
    }
};

constexpr char kScheme[] = "lodestar";

QByteArray mimeOf(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"css") return "text/css";
    if (ext == u"js") return "text/javascript";
    if (ext == u"png") return "image/png";
    if (ext == u"gif") return "image/gif";
    if (ext == u"jpg" || ext == u"jpeg") return "image/jpeg";
    if (ext == u"svg") return "image/svg+xml";
    if (ext == u"txt") return "text/plain";
    return "text/html";  // the templates (.tmp) and help pages
}

class LocalFiles : public QWebEngineUrlSchemeHandler {
  public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QString path = job->requestUrl().path();
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(file.readAll());
        buffer->open(QIODevice::ReadOnly);
        job->reply(mimeOf(path), buffer);
    }
};

void install(QWebEngineProfile* profile, const QString& name, const QString& source,
             quint32 world) {
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(world);
    script.setRunsOnSubFrames(false);
    profile->scripts()->insert(script);
}

}  // namespace

void registerPaneScheme() {
    static bool done = false;
    if (done) return;
    done = true;
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                    QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl paneUrl(const QString& localPath) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    url.setPath(localPath);
    return url;
}

bool isLocalScheme(const QUrl& url) {
    const QString s = url.scheme().toLower();
    return s == QLatin1String(kScheme) || s == u"file" || s == u"qrc" || s == u"data" ||
           s == u"blob" || s == u"about";
}

QWebEngineProfile* paneProfile() {
    static QWebEngineProfile* profile = nullptr;
    if (profile) return profile;
    profile = new QWebEngineProfile(QCoreApplication::instance());  // off the record
    profile->setUrlRequestInterceptor(new LocalOnly(profile));
    profile->installUrlSchemeHandler(kScheme, new LocalFiles(profile));
    profile->setHttpCacheType(QWebEngineProfile::NoCache);
    profile->setSpellCheckEnabled(false);
    QWebEngineSettings* s = profile->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    install(profile, QStringLiteral("lodestar-pane-api"), paneApiScript(),
            QWebEngineScript::ApplicationWorld);
    install(profile, QStringLiteral("lodestar-bridge"), paneBridgeScript(),
            QWebEngineScript::MainWorld);
    return profile;
}

PanePage::PanePage(QObject* parent) : QWebEnginePage(paneProfile(), parent) {}

bool PanePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!isMainFrame) return isLocalScheme(url);
    if (!isLocalScheme(url)) {
        if (type == NavigationTypeLinkClicked && openExternally) openExternally(url);
        return false;
    }
    if (expected_.isValid() && url == expected_) {
        expected_ = QUrl();
        return true;
    }
    if (beforeNavigate && beforeNavigate(url)) return false;
    return true;
}

}  // namespace lodestar::ui
