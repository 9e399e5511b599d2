// Drives the real window on generated HTML files and prints how long the user waits: open ->
// first screen, Find -> match 1 current and on screen, random moves -> the match on screen, the
// longest stall of the event loop, and the memory of the program and of the page renderers.
// Times are read from the form (the counter box) and from the pages (the marks' positions and
// backgrounds). Run it under a display (bench/window/run starts Xvfb).
//
// With "preview" after MOVES it measures the preview instead: the file alone in a folder,
// Preview of a replace of every link -> the first screen of the diff, then jumps and page
// moves through it -> each on screen, with the longest stall, and Apply of every change.
//
// Usage: lodestar_window_bench PROGRAM_FOLDER SIZE_MB MATCHES [MOVES [preview]]
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWebEnginePage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "ui/desktop_app.h"
#include "ui/pane_script.h"
#include "ui/pane_view.h"
#include "ui/qt_text.h"
#include "ui/skin_window.h"

using namespace lodestar;

namespace {

// Longest gap between ticks of a 5 ms timer: how long the event loop could not answer.
class StallWatch : public QObject {
  public:
    StallWatch() {
        clock_.start();
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            const qint64 now = clock_.elapsed();
            worst_ = std::max(worst_, now - last_);
            last_ = now;
        });
        timer_.start();
    }
    void reset() {
        last_ = clock_.elapsed();
        worst_ = 0;
    }
    qint64 worst() const { return worst_; }

  private:
    QElapsedTimer clock_;
    QTimer timer_;
    qint64 last_ = 0;
    qint64 worst_ = 0;
};

bool waitFor(const std::function<bool()>& done, int timeoutMs = 120000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        // A running event loop, not just the events already queued: the pages need it.
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

long kibOf(const std::string& statusFile, const char* field) {
    std::ifstream in(statusFile);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return 0;
}

// Writes about `megabytes` MB of markup holding `links` links.
std::string writePage(const std::string& path, double megabytes, long links) {
    std::ofstream out(path, std::ios::binary);
    const double perLink = megabytes * 1e6 / static_cast<double>(links);
    for (long i = 0; i < links; ++i) {
        std::string row = "<div class=\"row\"><a href=\"https://example.org/item/" +
                          std::to_string(i) + "\">item " + std::to_string(i) + "</a></div>\n";
        while (static_cast<double>(row.size()) + 60 < perLink)
            row += "<p>filler text of the generated page, line " + std::to_string(i) + "</p>\n";
        out << row;
    }
    return path;
}

// Whether the middle of the source view shows a row of the diff rather than a spacer.
bool diffOnScreen(ui::PaneView* source) {
    return source
        ->evaluate(QStringLiteral("(function(){var e=document.elementFromPoint(40,innerHeight/2);"
                                  "return !!(e&&e.closest&&e.closest('[data-k]'));})()"),
                   2000)
        .toBool();
}

int previewBench(MainWindow& form, ui::PaneView* source, StallWatch& stalls, long links, int moves,
                 const std::function<bool()>& settled) {
    QElapsedTimer t;
    stalls.reset();
    t.start();
    form.openRequested(u"/tmp/lodestar-window-bench/");
    waitFor(settled);
    std::printf("open folder: %lld ms\n", t.elapsed());

    stalls.reset();
    t.start();
    form.typeText("inRepFrom", u"href=\"([^\"]+)\"");
    form.typeText("inRepWith", u"href=\"$1/new\"");
    form.click("btnPreview");
    waitFor([&] { return form.controls()["btnApply"].enabled; });
    const qint64 computed = t.elapsed();
    waitFor([&] {
        return source->evaluate(QStringLiteral("document.body.innerText.indexOf('/new')>=0"), 2000)
            .toBool();
    });
    std::printf(
        "preview -> changes computed: %lld ms, first screen: %lld ms (longest stall %lld "
        "ms)\n",
        computed, t.elapsed(), stalls.worst());

    std::mt19937 random(7);
    std::vector<qint64> times;
    stalls.reset();
    for (int m = 0; m < moves; ++m) {
        t.start();
        if (m % 2 == 0)
            source->evaluate(
                QStringLiteral("window.scrollTo(0, %1 * "
                               "(document.documentElement.scrollHeight - innerHeight))")
                    .arg(static_cast<double>(random() % 10000) / 10000.0),
                2000);
        else
            source->evaluate(QStringLiteral("window.scrollBy(0, innerHeight)"), 2000);
        if (!waitFor([&] { return diffOnScreen(source); }, 10000))
            std::printf("move %d: not shown\n", m);
        times.push_back(t.elapsed());
    }
    std::sort(times.begin(), times.end());
    std::printf("scrolls (%d): median %lld ms, 90th %lld ms, max %lld ms (longest stall %lld ms)\n",
                moves, times[times.size() / 2], times[times.size() * 9 / 10], times.back(),
                stalls.worst());

    stalls.reset();
    t.start();
    form.click("btnApply");
    waitFor([&] { return settled() && !form.controls()["btnStop"].enabled; });
    std::printf("apply of %ld changes: %lld ms (longest stall %lld ms)\n", links, t.elapsed(),
                stalls.worst());
    const std::string log = toUtf8(form.controls()["logger"].text);
    std::printf("log: %s\n", log.substr(log.size() > 400 ? log.size() - 400 : 0).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER SIZE_MB MATCHES [MOVES]\n", argv[0]);
        return 2;
    }
    ui::prepareWebEngineEnvironment();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ui::chooseSceneGraph();
    ui::ensureUiResources();
    const std::string folder = argv[1];
    const double megabytes = std::stod(argv[2]);
    const long links = std::stol(argv[3]);
    const int moves = argc > 4 ? std::stoi(argv[4]) : 100;

    const bool preview = argc > 5 && std::string(argv[5]) == "preview";
    if (preview) std::filesystem::create_directories("/tmp/lodestar-window-bench");
    const std::string file =
        preview ? "/tmp/lodestar-window-bench/page.htm" : "/tmp/lodestar-window-bench.htm";
    writePage(file, megabytes, links);

    // A fresh state folder of its own: nothing remembered from earlier runs changes the figures.
    std::filesystem::remove_all("/tmp/lodestar-window-bench-state");
    ui::SkinWindow window(fromUtf8(folder), u"/tmp/lodestar-window-bench-state/");
    window.resize(1200, 800);
    window.show();
    MainWindow& form = window.form();
    auto settled = [&] {
        if (form.working()) return false;
        for (Pane p : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView})
            if (form.pane(p).busy()) return false;
        return true;
    };
    auto report = [&](const char* what) {
        std::fprintf(stdout, "(%s did not settle: working %d, busy %d %d %d; log: %s)\n", what,
                     form.working(), form.pane(Pane::ListView).busy(),
                     form.pane(Pane::SuperMonitor).busy(), form.pane(Pane::MatchView).busy(),
                     toUtf8(form.controls()["logger"].text).c_str());
    };
    if (!waitFor(settled, 60000)) report("start");
    ui::PaneView* source = window.paneView(Pane::SuperMonitor);
    auto markState = [&](long long k) {
        return source
            ->evaluate(
                QStringLiteral("(function(){var e=document.querySelector('em[data-k=\"%1\"]')"
                               "||document.getElementsByTagName('em')[%1];"
                               "if(!e) return '';var t=e.getBoundingClientRect().top;"
                               "return t>=0&&t<innerHeight?e.style.backgroundColor:'';})()")
                    .arg(k - 1),
                2000, false)
            .toString();
    };
    // The large-file question is answered OK.
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    answer.start();

    StallWatch stalls;
    QElapsedTimer t;
    std::printf("file: %.1f MB, %ld links\n", megabytes, links);
    if (preview) {
        const int status = previewBench(form, source, stalls, links, moves, settled);
        std::filesystem::remove_all("/tmp/lodestar-window-bench");
        window.close();
        return status;
    }

    stalls.reset();
    t.start();
    form.OpenFile(fromUtf8(file));
    if (!waitFor(settled)) report("open");
    waitFor([&] {
        return source
            ->evaluate(QStringLiteral("document.body.innerText.indexOf('item 0<')>=0||"
                                      "document.body.innerText.indexOf('item 0')>=0"),
                       2000)
            .toBool();
    });
    std::printf("open -> first screen: %lld ms (longest stall %lld ms)\n", t.elapsed(),
                stalls.worst());

    stalls.reset();
    t.start();
    form.typeText("inRepFrom", u"href=\"([^\"]+)\"");
    form.click("btnFind");
    const std::u16string one = u"1/" + decimal(links);
    waitFor([&] { return form.controls()["matchNo"].text == one; });
    const qint64 counted = t.elapsed();
    waitFor([&] { return markState(1) == QStringLiteral("gold"); });
    std::printf(
        "find -> counter 1/n: %lld ms, match 1 gold on screen: %lld ms (longest stall "
        "%lld ms)\n",
        counted, t.elapsed(), stalls.worst());

    std::mt19937 random(7);
    std::vector<qint64> times;
    stalls.reset();
    for (int m = 0; m < moves; ++m) {
        const int kind = m % 3;
        t.start();
        if (kind == 0) {
            form.click("btnNext");
        } else if (kind == 1) {
            form.click("btnPrev");
        } else {
            form.onBeforeNavigate(
                Pane::MatchView,
                u"/x/ml.tmp#" + decimal(1 + static_cast<long long>(random() % links)));
        }
        const long long k = form.file().curMatch();
        if (!waitFor([&] { return markState(k) == QStringLiteral("gold"); }, 10000))
            std::printf("move to %lld: not shown\n", k);
        times.push_back(t.elapsed());
        if (kind == 2 && m + 1 < moves) {
            // The next Next/Previous starts from a place far away.
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("moves (%d): median %lld ms, 90th %lld ms, max %lld ms (longest stall %lld ms)\n",
                moves, times[times.size() / 2], times[times.size() * 9 / 10], times.back(),
                stalls.worst());

    long rendererKib = 0;
    for (Pane p : {Pane::SuperMonitor, Pane::MatchView}) {
        const qint64 pid = window.paneView(p)->page()->renderProcessPid();
        rendererKib =
            std::max(rendererKib, kibOf("/proc/" + std::to_string(pid) + "/status", "VmHWM:"));
    }
    std::printf("memory: program peak %ld MB, renderer peak %ld MB\n",
                kibOf("/proc/self/status", "VmHWM:") / 1024, rendererKib / 1024);
    std::remove(file.c_str());
    form.setSaveEnabled(false);
    window.close();
    return 0;
}
