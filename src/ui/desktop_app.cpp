// The desktop program's start.
#include "ui/desktop_app.h"

#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/text.h"
#include "ui/pane_page.h"
#include "ui/pane_script.h"
#include "ui/skin_window.h"
#include "ui/window_habits.h"

namespace lodestar::ui {

namespace {
bool named(const char* value) {
    return value && *value;
}
}  // namespace

bool displayAvailable(const char* display, const char* waylandDisplay, const char* qpaPlatform) {
    return named(display) || named(waylandDisplay) || named(qpaPlatform);
}

bool softwareRasterizer(std::string_view rendererName) {
    for (std::string_view name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (rendererName.find(name) != std::string_view::npos) return true;
    return false;
}

void chooseSceneGraph() {
    if (named(std::getenv("QT_QUICK_BACKEND")) || named(std::getenv("QSG_RHI_BACKEND"))) return;
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (context.create() && context.makeCurrent(&surface)) {
        const auto* renderer =
            reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
        const bool software = !renderer || softwareRasterizer(renderer);
        context.doneCurrent();
        if (!software) return;
    }
    // No OpenGL at all, or one on the processor. The web engine starts later and reads the
    // choice from the environment.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    qputenv("QT_QUICK_BACKEND", "software");
}

std::u16string executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return fromUtf8(std::filesystem::current_path().string());
    return fromUtf8(exe.parent_path().string());
}

void prepareWebEngineEnvironment() {
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    registerPaneScheme();
}

int runDesktop(int argc, char** argv) {
    if (!displayAvailable(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                          std::getenv("QT_QPA_PLATFORM"))) {
        std::fputs(
            "lodestar: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Lodestar is a desktop program: start it from a graphical session, or under a\n"
            "virtual display such as \"xvfb-run build/lodestar\". For work without a window,\n"
            "use build/lodestar-cli.\n",
            stderr);
        return 2;
    }
    prepareWebEngineEnvironment();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    chooseSceneGraph();
    QApplication::setApplicationName(QStringLiteral("Lodestar"));
    QApplication::setApplicationVersion(QStringLiteral("1.4"));
    ensureUiResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lodestar/icons/app.svg")));
    SkinWindow window(executableFolder());
    window.show();
    const QStringList arguments = QApplication::arguments();
    QTimer::singleShot(0, &window, [&window, arguments] { openArguments(window, arguments); });
    const int status = app.exec();
    // A search deep in a long text may take its time to notice the stop: the program does not
    // wait for it. The state is saved and no file is half-written (writes replace whole files).
    if (!window.endWork(1500)) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

}  // namespace lodestar::ui
