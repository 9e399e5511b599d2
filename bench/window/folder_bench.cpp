// Drives the real window over a folder of many small files and prints how long the user waits:
// the picker's OK -> the file table, Find -> the first row's count on the page -> the end of the
// run (against the command line on the same folder), and a scroll to a far row during and after
// the run -> that row's count on the page. Run it under a display (bench/window/run starts Xvfb).
//
// Usage: lodestar_window_folder_bench PROGRAM_FOLDER FILES   (LODESTAR_BENCH_TRACE=1: each look
// at the first row while waiting for it)
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/text.h"
#include "forms/folder/file_table.h"
#include "forms/folder/folder_scope.h"
#include "ui/desktop_app.h"
#include "ui/pane_script.h"
#include "ui/pane_view.h"
#include "ui/qt_text.h"
#include "ui/skin_window.h"

using namespace lodestar;

namespace {

bool waitFor(const std::function<bool()>& done, int timeoutMs = 600000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// FILES files of about 2 KB, 1,000 to a folder; every third one says "static" three times.
void writeFolder(const std::string& root, long files) {
    std::filesystem::remove_all(root);
    for (long i = 0; i < files; ++i) {
        const std::string folder = root + "/d" + std::to_string(i / 1000);
        if (i % 1000 == 0) std::filesystem::create_directories(folder);
        std::ofstream out(folder + "/f" + std::to_string(i) + ".htm", std::ios::binary);
        std::string text;
        while (text.size() < 2000)
            text += i % 3 == 0 ? "<p>static int item " + std::to_string(i) + ";</p>\n"
                               : "<p>plain line of file " + std::to_string(i) + "</p>\n";
        out << text;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER FILES\n", argv[0]);
        return 2;
    }
    ui::prepareWebEngineEnvironment();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ui::ensureUiResources();
    const std::string program = argv[1];
    const long files = std::stol(argv[2]);
    const std::string root = "/tmp/lodestar-window-folder-bench";
    writeFolder(root, files);

    std::filesystem::remove_all("/tmp/lodestar-window-bench-state");
    ui::SkinWindow window(fromUtf8(program), u"/tmp/lodestar-window-bench-state/");
    window.resize(1200, 800);
    window.show();
    MainWindow& form = window.form();
    FolderScope& folder = window.folderMode();
    ui::PaneView* list = window.paneView(Pane::ListView);
    PaneModel& model = form.pane(Pane::ListView);
    const auto settled = [&] {
        if (form.working()) return false;
        for (Pane p : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView})
            if (form.pane(p).busy()) return false;
        return true;
    };
    waitFor(settled, 60000);
    // The matches cell of a row as the page shows it ("" when the row is not on the page).
    const auto shownCount = [&](std::size_t row) {
        return list
            ->evaluate(QStringLiteral("(function(){var r=document.querySelector("
                                      "'#infoList tr[data-k=\"%1\"]');"
                                      "return r&&r.cells[%2]?r.cells[%2].textContent:'';})()")
                           .arg(row)
                           .arg(kMatchesColumn),
                       5000)
            .toString();
    };
    const auto modelCount = [&](std::size_t row) {
        return ui::toQ(model.cellText(kFileTableId, row * kCellsPerRow + kMatchesColumn));
    };
    const auto scrollTo = [&](std::size_t row) {
        list->evaluate(QStringLiteral("__lodestarPane.scrollTo('infoList','tr',%1,0);1").arg(row),
                       5000);
    };
    std::printf("load average: %s",
                [] {
                    std::ifstream in("/proc/loadavg");
                    std::string line;
                    std::getline(in, line);
                    return line + "\n";
                }()
                    .c_str());
    std::printf("folder: %ld files of 2 KB in %ld folders\n", files, (files + 999) / 1000);

    QElapsedTimer t;
    t.start();
    form.click("btnOpenFolder");
    waitFor([&] { return window.formWindow(folder.picker()) != nullptr; }, 10000);
    folder.picker().typeText("Dir1", fromUtf8(root));
    folder.picker().click("chkSubfolders");
    folder.picker().click("btnOK");
    waitFor([&] { return form.MultiMode() && folder.fileList().size() > 1; });
    waitFor(settled);
    std::printf("picker OK -> table of %zu rows: %lld ms\n", folder.fileList().size() - 1,
                t.elapsed());

    form.typeText("inRepFrom", u"static");
    t.start();
    form.click("btnFind");
    if (std::getenv("LODESTAR_BENCH_TRACE"))
        std::printf("  click returned: %lld ms\n", t.elapsed());
    const bool firstShown = waitFor([&] {
        if (std::getenv("LODESTAR_BENCH_TRACE"))
            std::printf("  %lld ms: model '%s' page '%s' running %d\n", t.elapsed(),
                        modelCount(1).toUtf8().constData(), shownCount(1).toUtf8().constData(),
                        form.running());
        return !shownCount(1).isEmpty();
    });
    std::printf("find -> row 1's count on the page: %lld ms%s\n", t.elapsed(),
                firstShown ? "" : " (never shown)");
    // During the run: a far row the run has just passed.
    const std::size_t far = static_cast<std::size_t>(files) / 2;
    QString during = QStringLiteral("(run ended first)");
    if (waitFor([&] { return !modelCount(far).isEmpty() || !form.running(); }) && form.running()) {
        QElapsedTimer s;
        s.start();
        scrollTo(far);
        waitFor([&] { return shownCount(far) == modelCount(far); }, 60000);
        during = QString::number(s.elapsed()) + QStringLiteral(" ms");
    }
    waitFor([&] { return !form.running(); });
    const qint64 run = t.elapsed();
    waitFor(settled);
    std::printf(
        "find -> end of the run: %lld ms; scroll to row %zu during the run -> its count: %s\n", run,
        far, during.toUtf8().constData());
    QElapsedTimer s;
    s.start();
    const std::size_t late = static_cast<std::size_t>(files) * 9 / 10;
    scrollTo(late);
    waitFor([&] { return !shownCount(late).isEmpty() && shownCount(late) == modelCount(late); },
            60000);
    std::printf("after the run, scroll to row %zu -> its count: %lld ms\n", late, s.elapsed());

    // The command line on the same folder, for the ratio.
    QElapsedTimer c;
    c.start();
    const std::string cli =
        "'" + program + "lodestar-cli' --count -r -c find static '" + root + "' >/dev/null";
    if (std::system(cli.c_str()) < 0) std::printf("(the command line did not run)\n");
    const qint64 cliMs = c.elapsed();
    std::printf("lodestar-cli --count -r find: %lld ms; window / command line: %.2f\n", cliMs,
                static_cast<double>(run) / static_cast<double>(std::max<qint64>(cliMs, 1)));
    form.setSaveEnabled(false);
    window.close();
    std::filesystem::remove_all(root);
    return 0;
}
