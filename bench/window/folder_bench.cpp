// Drives the real window over a folder of many small files and prints how long the user waits:
// the picker's OK -> the file table (with the status texts seen meanwhile), Find -> the first
// row's count on the page -> the end of the run (against the command line on the same folder),
// how many of the rows on the page showed their counts during the run, a scroll to a far row
// during and after the run -> that row's count on the page, and the longest stall of the
// window's thread in each stage. Run it under a display (bench/window/run starts Xvfb).
//
// Usage: lodestar_window_folder_bench PROGRAM_FOLDER FILES   (LODESTAR_BENCH_TRACE=1: each look
// at the first row while waiting for it)
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// The longest time the window's thread went without taking its timer: what a user's click
// would have waited for.
class StallWatch {
  public:
    StallWatch() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart()); });
        clock_.start();
        timer_.start();
    }
    // The longest stall since the last call.
    qint64 take() {
        longest_ = std::max(longest_, clock_.restart());
        return std::exchange(longest_, 0);
    }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

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
    ui::chooseSceneGraph();
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
    form.click("btnOpenFolder");
    waitFor([&] { return window.formWindow(folder.picker()) != nullptr; }, 10000);
    folder.picker().typeText("Dir1", fromUtf8(root));
    folder.picker().click("chkSubfolders");
    StallWatch stalls;
    stalls.take();
    t.start();
    folder.picker().click("btnOK");
    const qint64 okReturned = t.elapsed();
    std::vector<std::string> statuses;  // the texts the status showed during the walk
    waitFor([&] {
        const std::string now = toUtf8(form.controls()["lblStatus"].text);
        if (statuses.empty() || statuses.back() != now) statuses.push_back(now);
        return form.MultiMode() && folder.fileList().size() > 1;
    });
    const qint64 listed = t.elapsed();
    waitFor(settled);
    std::printf(
        "picker OK: returned after %lld ms; files handed on after %lld ms; table of %zu "
        "rows shown after %lld ms; longest stall %lld ms; %zu status texts seen, the "
        "last '%s'\n",
        okReturned, listed, folder.fileList().size() - 1, t.elapsed(), stalls.take(),
        statuses.size(), statuses.empty() ? "" : statuses.back().c_str());

    // The command line reads every file once first: a file read for the first time since it was
    // written has its access time set, which costs more than the search, so whichever run came
    // first would pay for it.
    const std::string cli =
        "'" + program + "lodestar-cli' --count -r -c find static '" + root + "' >/dev/null";
    if (std::system(cli.c_str()) < 0) std::printf("(the command line did not run)\n");

    form.typeText("inRepFrom", u"static");
    t.start();
    form.click("btnFind");
    if (std::getenv("LODESTAR_BENCH_TRACE"))
        std::printf("  click returned: %lld ms\n", t.elapsed());
    stalls.take();
    const bool firstShown = waitFor([&] {
        if (std::getenv("LODESTAR_BENCH_TRACE"))
            std::printf("  %lld ms: model '%s' page '%s' running %d\n", t.elapsed(),
                        modelCount(1).toUtf8().constData(), shownCount(1).toUtf8().constData(),
                        form.running());
        return !shownCount(1).isEmpty();
    });
    std::printf("find -> row 1's count on the page: %lld ms%s\n", t.elapsed(),
                firstShown ? "" : " (never shown)");
    // The files the run has reported to the window (its rows fill in order).
    const auto modelDone = [&] {
        std::size_t lo = 0, hi = static_cast<std::size_t>(files);
        while (lo < hi) {
            const std::size_t mid = (lo + hi + 1) / 2;
            if (modelCount(mid).isEmpty())
                hi = mid - 1;
            else
                lo = mid;
        }
        return lo;
    };
    // The rows on the page, and those of them whose count the page shows, while the run goes on.
    const auto filledOnPage = [&] {
        const QStringList n =
            list->evaluate(QStringLiteral("(function(){var r=document.querySelectorAll("
                                          "'#infoList tr[data-k]'),f=0;for(var i=0;i<r.length;++i)"
                                          "if(r[i].cells[%1]&&r[i].cells[%1].textContent)++f;"
                                          "return f+' of '+r.length;})()")
                               .arg(kMatchesColumn),
                           5000)
                .toString()
                .split(u' ');
        return std::make_pair(n.value(0).toInt(), n.value(2).toInt());
    };
    const auto rowsFilled = [&] {
        const auto [filled, rows] = filledOnPage();
        std::printf(
            "  %lld ms: %d of the %d rows on the page show their counts (model: %zu files "
            "done)\n",
            t.elapsed(), filled, rows, modelDone());
    };
    rowsFilled();
    // During the run: a far row the run has just passed.
    const std::size_t far = static_cast<std::size_t>(files) / 2;
    QString during = QStringLiteral("(run ended first)");
    qint64 lastLook = 0;
    if (waitFor([&] {
            if (t.elapsed() - lastLook >= 1000 && form.running()) {
                lastLook = t.elapsed();
                rowsFilled();
            }
            return !modelCount(far).isEmpty() || !form.running();
        }) &&
        form.running()) {
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
        "find -> end of the run: %lld ms; scroll to row %zu during the run -> its count: "
        "%s; longest stall during the run %lld ms\n",
        run, far, during.toUtf8().constData(), stalls.take());
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
    if (std::system(cli.c_str()) < 0) std::printf("(the command line did not run)\n");
    const qint64 cliMs = c.elapsed();
    std::printf("lodestar-cli --count -r find: %lld ms; window / command line: %.2f\n", cliMs,
                static_cast<double>(run) / static_cast<double>(std::max<qint64>(cliMs, 1)));
    form.setSaveEnabled(false);
    window.close();
    std::filesystem::remove_all(root);
    return 0;
}
