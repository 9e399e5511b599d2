// A desktop window on a program folder of its own, shown on the test display, with helpers
// that wait for the web panes, answer dialogs as a user would and read the pages' DOM.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/text.h"
#include "forms/folder/file_table.h"
#include "support/temp_dir.h"
#include "ui/form_window.h"
#include "ui/pane_view.h"
#include "ui/qt_text.h"
#include "ui/skin_window.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace lodestar::testing {

// Processes events until `done` holds or the time is up; answers whether it held.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 15000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

// Accepts a file dialog with this path. The dialog's model reads its folder in the background,
// and until it has, selectFile alone may leave the name box empty and accept() then does
// nothing: the name is typed into the box and the dialog closed as accepted.
inline void acceptFileDialog(QFileDialog* dialog, const QString& path) {
    dialog->selectFile(path);
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
}

// What a dialog showed, recorded by the answering helper.
struct Seen {
    QString caption;
    QString text;
    bool shown = false;
};

class SkinTest : public ::testing::Test {
  protected:
    // Copies the project's data folders into the program folder; `without` names ones to leave out.
    void makeProgramFolder(const std::vector<std::string>& without = {}) {
        namespace fs = std::filesystem;
        for (const char* folder : {"lib", "help", "rep"}) {
            if (std::find(without.begin(), without.end(), folder) != without.end()) continue;
            fs::copy(fs::path(LODESTAR_SOURCE_DIR) / folder, program.path() / folder,
                     fs::copy_options::recursive);
        }
    }

    void start(int width = 1280, int height = 800) {
        // The history of saves lives in the test's own state folder.
        setenv("XDG_STATE_HOME", (program.path() / "state-home").c_str(), 1);
        // What the window remembers lives in the test's own folder, from one start to the next.
        window = std::make_unique<ui::SkinWindow>(program.folder(), program.folder() + u"state/");
        window->resize(width, height);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        settle();
    }

    void TearDown() override {
        if (window) {
            // Nothing may ask anything any more.
            window->form().setSaveEnabled(false);
            window->close();
            window.reset();
        }
        QApplication::processEvents();
    }

    // The file being opened or searched is shown and every pane the form waits for has loaded.
    void settle() {
        ASSERT_TRUE(waitUntil([&] {
            if (window->form().working()) return false;
            for (Pane p : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView})
                if (window->form().pane(p).busy()) return false;
            return true;
        })) << "a pane did not finish loading";
    }

    // Arms an answer for the next modal dialog: `act` runs on it once it shows.
    void onNextDialog(std::function<void(QWidget*)> act) {
        auto* poll = new QTimer(window.get());
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            act(modal);
        });
        poll->start();
    }
    // Answers the next message box with the button of this role, noting what it said.
    void answerMessage(QMessageBox::StandardButton button, Seen* seen = nullptr) {
        answerMessageWith([button](QMessageBox* box) { box->button(button)->click(); }, seen);
    }
    // Answers the next message box by this key (Return: its default button, Escape: cancel).
    void answerMessageByKey(Qt::Key key, Seen* seen = nullptr) {
        answerMessageWith([key](QMessageBox* box) { QTest::keyClick(box, key); }, seen);
    }
    void answerMessageWith(std::function<void(QMessageBox*)> answer, Seen* seen) {
        onNextDialog([answer, seen](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return;
            if (seen) *seen = {box->windowTitle(), box->text(), true};
            answer(box);
        });
    }
    void answerOpenDialog(const std::u16string& path) {
        onNextDialog([path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) return;
            acceptFileDialog(dialog, ui::toQ(path));
        });
    }

    void openThroughDialog(const std::u16string& path) {
        answerOpenDialog(path);
        click("selFile");
        settle();
    }
    // Picks the documents folder in the picker ("Include subfolders" and "Exclude" when asked)
    // and presses OK; waits until the folder's files are listed.
    void openThroughPicker(bool subfolders = false, const QString& exclude = {}) {
        click("btnOpenFolder");
        ui::FormWindow* picker = window->formWindow(folder().picker());
        ASSERT_NE(picker, nullptr);
        ASSERT_TRUE(waitUntil([&] { return picker->isVisible(); }));
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("Select Folder"));
        EXPECT_EQ(picker->parentWidget(), window.get());  // owned by the main window
        folder().picker().typeText("Dir1", docs.folder());
        if (subfolders) {
            QTest::mouseClick(picker->control("chkSubfolders"), Qt::LeftButton);
            ASSERT_TRUE(folder().picker().controls()["chkSubfolders"].checked);
            auto* box = qobject_cast<QLineEdit*>(picker->control("exclude"));
            ASSERT_NE(box, nullptr);
            QTest::keyClicks(box, exclude);
        }
        QTest::mouseClick(picker->control("btnOK"), Qt::LeftButton);
        EXPECT_FALSE(picker->isVisible());
        ASSERT_TRUE(waitUntil([&] { return form().MultiMode && folder().fileList().size() > 1; }));
        settle();
    }
    // Types the path into the path box and presses Enter.
    void typePath(const std::u16string& path) {
        auto* box = widget<QLineEdit>("inputPath");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, ui::toQ(path));
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }
    void typePattern(const std::u16string& from, const std::u16string& with = u"") {
        widget<QPlainTextEdit>("inRepFrom")->setPlainText(ui::toQ(from));
        widget<QPlainTextEdit>("inRepWith")->setPlainText(ui::toQ(with));
    }
    // Types the pattern, presses F3 and waits for the move to the first match.
    void findByKey(const std::u16string& pattern) {
        typePattern(pattern);
        key(Qt::Key_F3);
        settle();
        ASSERT_TRUE(waitUntil([&] { return counter().startsWith(QStringLiteral("1/")); }))
            << counter().toStdString() << "\n"
            << logText();
    }
    void waitForRun() {
        ASSERT_TRUE(waitUntil([&] { return !form().running(); }, 60000));
        settle();
    }

    template <typename T = QWidget>
    T* widget(const std::string& name) {
        return qobject_cast<T*>(window->control(name));
    }
    MainWindow& form() { return window->form(); }
    FolderScope& folder() { return window->folderMode(); }
    ui::PaneView* view(Pane p) { return window->paneView(p); }
    QVariant dom(Pane p, const QString& script) { return view(p)->evaluate(script); }
    std::string logText() { return toUtf8(window->form().controls()["logger"].text); }
    QString counter() { return widget<QLineEdit>("matchNo")->text(); }
    // The marks in the source page and the entries of the match list's page.
    int marksInPage() {
        return dom(Pane::SuperMonitor, QStringLiteral("document.getElementsByTagName('em').length"))
            .toInt();
    }
    int entriesInPage() {
        return dom(Pane::MatchView, QStringLiteral("document.getElementById('mlist')"
                                                   ".getElementsByTagName('li').length"))
            .toInt();
    }
    // A cell of the file table's model.
    std::string cell(std::size_t row, std::size_t column) {
        return toUtf8(form().pane(Pane::ListView).cellText(kFileTableId, row * 7 + column));
    }

    void click(const std::string& name) {
        QWidget* w = window->control(name);
        ASSERT_NE(w, nullptr) << name;
        QTest::mouseClick(w, Qt::LeftButton);
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QApplication::setActiveWindow(window.get());
        QTest::keyClick(window.get(), static_cast<Qt::Key>(k), mods);
    }

    TempDir program;
    TempDir docs;
    std::unique_ptr<ui::SkinWindow> window;
};

// A window on a complete program folder, started before each test.
class StartedSkinTest : public SkinTest {
  protected:
    void SetUp() override {
        makeProgramFolder();
        start();
    }
};

}  // namespace lodestar::testing
