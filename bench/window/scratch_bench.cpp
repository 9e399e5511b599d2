// The scratch pad's live update on a 100 KB text in the real window: how long the form's search
// and list and the editor's marks take after the typing pauses, for a few patterns a user might
// type. Run it under a display (xvfb-run).
//
// Usage: lodestar_scratch_bench PROGRAM_FOLDER
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/text.h"
#include "ui/desktop_app.h"
#include "ui/pane_script.h"
#include "ui/qt_text.h"
#include "ui/scratch_pad.h"
#include "ui/skin_window.h"

using namespace lodestar;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    ui::prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    ui::chooseSceneGraph();
    ui::ensureUiResources();
    const std::string state = "/tmp/lodestar-scratch-bench-state";
    std::filesystem::remove_all(state);
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    ui::SkinWindow window(fromUtf8(argv[1]), fromUtf8(state + "/"));
    window.resize(1200, 800);
    window.show();
    window.action("mClose")->trigger();
    ui::ScratchPad* pad = window.scratchPad();

    // About 100 KB of order lines.
    QString text;
    for (int i = 0; text.size() < 100 * 1024; ++i)
        text +=
            QStringLiteral("Order %1 shipped 2024-%2-%3 to user%1@example.org (total: %4 EUR)\n")
                .arg(1000 + i)
                .arg(1 + i % 12, 2, 10, QChar(u'0'))
                .arg(1 + i % 28, 2, 10, QChar(u'0'))
                .arg(i % 997);
    pad->editor()->setPlainText(text);
    QApplication::processEvents();

    FileScope& file = window.form().file();
    auto* box = qobject_cast<QPlainTextEdit*>(window.control("inRepFrom"));
    auto* with = qobject_cast<QPlainTextEdit*>(window.control("inRepWith"));
    struct Case {
        const char* pattern;
        const char* replacement;
    };
    std::printf("text: %lld characters\n", static_cast<long long>(text.size()));
    for (const Case& c :
         {Case{"o", ""}, Case{"\\d{4}-\\d\\d-\\d\\d", ""}, Case{"user(\\d+)@", "u$1@"},
          Case{"[\\w.]+@[\\w.]+", "<mail>"}, Case{"(", ""}}) {
        box->setPlainText(QString::fromUtf8(c.pattern));
        with->setPlainText(QString::fromUtf8(c.replacement));
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer clock;
            clock.start();
            file.updateScratch();  // what the timer runs once the typing pauses
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            QApplication::processEvents();
        }
        std::sort(times.begin(), times.end());
        std::printf("%-24s %6lld matches  median %7.1f ms  worst %7.1f ms\n", c.pattern,
                    file.matchCount(), times[times.size() / 2], times.back());
    }
    window.form().setSaveEnabled(false);
    window.close();
    return 0;
}
